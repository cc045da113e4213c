#ifndef MOSSDEN_SCENE_SCENEREADERS_H
#define MOSSDEN_SCENE_SCENEREADERS_H

// Reading scene-file XML: the attribute readers every scene uses for its own
// settings, and the nesting guard the loader applies before parsing.
#include <OgrePrerequisites.h>

#include <string>
#include <vector>

class TiXmlElement;

// Attribute readers. None fails on an absent attribute or a null element;
// the numbers are the engine's conversions of the text.
// The attribute text; empty when absent.
std::string readStringAttribute(const std::string& name, const TiXmlElement* element);
// The leading integer of the text (12.9 gives 12, "abc" gives 0); 0 when absent.
int readIntAttribute(const std::string& name, const TiXmlElement* element);
// The text as a real; 0 when absent or not a number.
Ogre::Real readRealAttribute(const std::string& name, const TiXmlElement* element);
// True exactly for "true" and "True"; false for everything else and when absent.
bool readBoolAttribute(const std::string& name, const TiXmlElement* element);

// The media a scene file names: the meshes of its entities ("meshFile")
// and the materials its entities, billboard sets and sky name
// ("materialName"), each once, in file order. A null root names none.
struct SceneMedia {
    std::vector<std::string> meshes, materials;
};
SceneMedia sceneMedia(const TiXmlElement* root);

// Deepest element nesting of an XML text, counted generously (never less
// than the parser would see). The parser and the node loader recurse per
// level, so a file nested deeper than maxSceneFileDepth is refused before
// parsing instead of exhausting the stack.
int xmlNestingDepth(const std::string& text);
constexpr int maxSceneFileDepth = 512;

#endif
