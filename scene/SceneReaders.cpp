#include "scene/SceneReaders.h"

#include <OgreStringConverter.h>
#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// The parser starts an element at "<" followed by a letter, '_' or any
// byte above 126; every other "<" starts markup that ends at the first '>'.
bool opensElement(char next) {
    const unsigned char c = static_cast<unsigned char>(next);
    return c == '_' || c >= 127 || (c != 0 && std::isalpha(c));
}

bool startsWith(const std::string& text, size_t at, const char* prefix) {
    return text.compare(at, std::strlen(prefix), prefix) == 0;
}

}  // namespace

std::string readStringAttribute(const std::string& name, const TiXmlElement* element) {
    const char* text = element ? element->Attribute(name.c_str()) : nullptr;
    return text ? std::string(text) : std::string();
}

int readIntAttribute(const std::string& name, const TiXmlElement* element) {
    const char* text = element ? element->Attribute(name.c_str()) : nullptr;
    return text ? Ogre::StringConverter::parseInt(text, 0) : 0;
}

Ogre::Real readRealAttribute(const std::string& name, const TiXmlElement* element) {
    const char* text = element ? element->Attribute(name.c_str()) : nullptr;
    return text ? Ogre::StringConverter::parseReal(text, 0) : 0;
}

bool readBoolAttribute(const std::string& name, const TiXmlElement* element) {
    const std::string text = readStringAttribute(name, element);
    return text == "true" || text == "True";
}

int xmlNestingDepth(const std::string& text) {
    // Mirrors how the parser tells markup apart: comments, CDATA, "<!" and
    // "<?" constructs hold no elements and end as the parser ends them; "</"
    // closes; any other "<" opens an element unless its tag ends in "/>";
    // quoted attribute values are skipped. Where this differs from the parser
    // it counts more, never less.
    constexpr int UNSAFE = std::numeric_limits<int>::max();
    int depth = 0;
    int deepest = 0;
    const size_t n = text.size();
    size_t i = 0;
    auto skipPast = [&](const char* end) {
        const size_t at = text.find(end, i);
        i = at == std::string::npos ? n : at + std::strlen(end);
    };
    while (i < n) {
        if (text[i] != '<') {
            ++i;
            continue;
        }
        if (startsWith(text, i, "<!--")) {
            i += 4;
            skipPast("-->");
        } else if (startsWith(text, i, "<![CDATA[")) {
            i += 9;
            skipPast("]]>");
        } else if (startsWith(text, i, "<?")) {
            // The parser reads the known attributes of an "<?xml" declaration
            // with their quotes, other text up to the first '>'. Both end at
            // the first '>' only while no quoted value holds a blank, a '<'
            // or that '>'; anything else is not a scene file worth the risk.
            i += 2;
            char quote = 0;
            for (; i < n && (quote || text[i] != '>'); ++i) {
                const char c = text[i];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                    else if (std::isspace(static_cast<unsigned char>(c)) || c == '<' || c == '>')
                        return UNSAFE;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                }
            }
            if (quote) return UNSAFE;
            ++i;
        } else if (startsWith(text, i, "<!")) {
            i += 2;
            skipPast(">");
        } else if (startsWith(text, i, "</")) {
            if (depth > 0) --depth;
            i += 2;
            skipPast(">");
        } else if (!opensElement(i + 1 < n ? text[i + 1] : 0)) {
            i += 1;
            skipPast(">");
        } else {
            deepest = std::max(deepest, ++depth);
            ++i;
            char quote = 0;
            char last = 0;
            for (; i < n; ++i) {
                const char c = text[i];
                if (quote) {
                    if (c == quote) quote = 0;
                    continue;
                }
                if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>' || c == '<') {
                    break;  // a '<' here: an unfinished tag, the parser gives up
                } else {
                    last = c;
                }
            }
            if (i < n && text[i] == '>') {
                if (last == '/') --depth;
                ++i;
            }
        }
    }
    return deepest;
}

namespace {

void addOnce(std::vector<std::string>& names, const char* name) {
    if (name && *name && std::find(names.begin(), names.end(), name) == names.end()) names.emplace_back(name);
}

void collectMedia(const TiXmlElement* element, SceneMedia& media, int depth) {
    // The loader refuses deeper files; a list of what to prepare need not go further.
    if (!element || depth > maxSceneFileDepth) return;
    addOnce(media.meshes, element->Attribute("meshFile"));
    addOnce(media.materials, element->Attribute("materialName"));
    for (const TiXmlElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement())
        collectMedia(child, media, depth + 1);
}

}  // namespace

SceneMedia sceneMedia(const TiXmlElement* root) {
    SceneMedia media;
    collectMedia(root, media, 0);
    return media;
}
