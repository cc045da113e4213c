#ifndef MOSSDEN_TOOLS_MEDIAGEN_SCENEXML_H
#define MOSSDEN_TOOLS_MEDIAGEN_SCENEXML_H

// Building blocks of the game's scene files, written with TinyXML: nodes
// with a position and rotation, entities, lights, colours and the
// "<name value=.../>" settings of the custom section. The generators keep
// their scene's data in tables and use these to write it.
#include <OgreColourValue.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>
#include <tinyxml.h>

#include <string>

namespace MediaGen {
namespace SceneXml {

// Seven significant digits, the way every number in a scene file is written.
std::string number(double value);

TiXmlElement* child(TiXmlNode* parent, const char* name);
// <name x= y= z=/>
TiXmlElement* xyz(TiXmlElement* parent, const char* name, const Ogre::Vector3& v);
// <name r= g= b=/>
void rgb(TiXmlElement* parent, const char* name, const Ogre::ColourValue& c);
void rotation(TiXmlElement* parent, const Ogre::Quaternion& q);
// <name value=.../> settings
void value(TiXmlElement* parent, const char* name, const std::string& text);
void value(TiXmlElement* parent, const char* name, double v);

// <node name=...><position/></node> under nodes.
TiXmlElement* node(TiXmlElement* nodes, const std::string& name, const Ogre::Vector3& position);
// <entity name= meshFile= castShadows="false"/> under a node.
void entity(TiXmlElement* node, const std::string& name, const std::string& mesh);
// <light name= type= castShadows="false"> with its two colours, under a node.
TiXmlElement* light(TiXmlElement* node, const std::string& name, const char* type,
                    const Ogre::ColourValue& diffuse, const Ogre::ColourValue& specular);
// A node with a directional light shining along `direction` (the light
// shines along its node's -Z axis).
TiXmlElement* directional(TiXmlElement* nodes, const std::string& name,
                          const Ogre::Vector3& direction, const Ogre::ColourValue& diffuse,
                          const Ogre::ColourValue& specular);

// A new document with the XML declaration and its <scene> root.
TiXmlElement* startScene(TiXmlDocument& doc);
// Throws when the file cannot be written.
void save(TiXmlDocument& doc, const std::string& path);

}  // namespace SceneXml
}  // namespace MediaGen

#endif
