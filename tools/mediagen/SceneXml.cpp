#include "mediagen/SceneXml.h"

#include <sstream>
#include <stdexcept>

namespace MediaGen {
namespace SceneXml {

std::string number(double value) {
    std::ostringstream out;
    out.precision(7);
    out << value;
    return out.str();
}

TiXmlElement* child(TiXmlNode* parent, const char* name) {
    return parent->LinkEndChild(new TiXmlElement(name))->ToElement();
}

TiXmlElement* xyz(TiXmlElement* parent, const char* name, const Ogre::Vector3& v) {
    TiXmlElement* e = child(parent, name);
    e->SetAttribute("x", number(v.x));
    e->SetAttribute("y", number(v.y));
    e->SetAttribute("z", number(v.z));
    return e;
}

void rgb(TiXmlElement* parent, const char* name, const Ogre::ColourValue& c) {
    TiXmlElement* e = child(parent, name);
    e->SetAttribute("r", number(c.r));
    e->SetAttribute("g", number(c.g));
    e->SetAttribute("b", number(c.b));
}

void rotation(TiXmlElement* parent, const Ogre::Quaternion& q) {
    TiXmlElement* r = child(parent, "rotation");
    r->SetAttribute("qx", number(q.x));
    r->SetAttribute("qy", number(q.y));
    r->SetAttribute("qz", number(q.z));
    r->SetAttribute("qw", number(q.w));
}

void value(TiXmlElement* parent, const char* name, const std::string& text) {
    child(parent, name)->SetAttribute("value", text);
}

void value(TiXmlElement* parent, const char* name, double v) { value(parent, name, number(v)); }

TiXmlElement* node(TiXmlElement* nodes, const std::string& name, const Ogre::Vector3& position) {
    TiXmlElement* n = child(nodes, "node");
    n->SetAttribute("name", name);
    xyz(n, "position", position);
    return n;
}

void entity(TiXmlElement* n, const std::string& name, const std::string& mesh) {
    TiXmlElement* e = child(n, "entity");
    e->SetAttribute("name", name);
    e->SetAttribute("meshFile", mesh);
    e->SetAttribute("castShadows", "false");
}

TiXmlElement* light(TiXmlElement* n, const std::string& name, const char* type,
                    const Ogre::ColourValue& diffuse, const Ogre::ColourValue& specular) {
    TiXmlElement* l = child(n, "light");
    l->SetAttribute("name", name);
    l->SetAttribute("type", type);
    l->SetAttribute("castShadows", "false");
    rgb(l, "colourDiffuse", diffuse);
    rgb(l, "colourSpecular", specular);
    return l;
}

TiXmlElement* directional(TiXmlElement* nodes, const std::string& name,
                          const Ogre::Vector3& direction, const Ogre::ColourValue& diffuse,
                          const Ogre::ColourValue& specular) {
    TiXmlElement* n = node(nodes, name, Ogre::Vector3::ZERO);
    rotation(n, Ogre::Vector3::NEGATIVE_UNIT_Z.getRotationTo(direction.normalisedCopy()));
    return light(n, name, "directional", diffuse, specular);
}

TiXmlElement* startScene(TiXmlDocument& doc) {
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    TiXmlElement* scene = child(&doc, "scene");
    scene->SetAttribute("formatVersion", "1.0");
    return scene;
}

void save(TiXmlDocument& doc, const std::string& path) {
    if (!doc.SaveFile(path.c_str())) throw std::runtime_error("cannot write " + path);
}

}  // namespace SceneXml
}  // namespace MediaGen
