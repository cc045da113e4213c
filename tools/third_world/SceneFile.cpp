#include "SceneFile.h"

#include "Textures.h"
#include "mediagen/SceneXml.h"

namespace ThirdWorld {

using namespace MediaGen::SceneXml;

void writeSceneFile(const Field& field, const std::string& path) {
    TiXmlDocument doc;
    TiXmlElement* scene = startScene(doc);
    TiXmlElement* nodes = child(scene, "nodes");

    // Asteroid and eye nodes keep identity orientation and unit scale: the
    // viewer's rig hangs below an asteroid's node and must not inherit a
    // turn or a stretch from it.
    for (const RockPiece& rock : field.rocks) entity(node(nodes, rock.entity, rock.centre), rock.entity, rock.mesh);

    for (const FogCloud& fog : field.fogs) {
        TiXmlElement* n = node(nodes, fog.node, fog.position);
        TiXmlElement* set = child(n, "billboardSet");
        set->SetAttribute("materialName", "Third/Fog");
        set->SetAttribute("width", fog.size);
        set->SetAttribute("height", fog.size);
        for (std::size_t i = 0; i < fog.puffs.size(); ++i) {
            TiXmlElement* b = child(set, "billboard");
            xyz(b, "position", fog.puffs[i]);
            rgb(b, "colourDiffuse", fog.colours[i]);
        }
    }

    // A warm halo in front of each pupil, so that the eyes glow against the
    // stars (the closing sequence ends looking at the face from far out).
    for (const RockPiece& rock : field.rocks) {
        if (rock.material != "Third/EyeGlow") continue;
        TiXmlElement* halo = child(node(nodes, "halo_" + rock.entity, rock.centre + Ogre::Vector3(0, 0, 400)), "billboardSet");
        halo->SetAttribute("materialName", "Third/EyeHalo");
        halo->SetAttribute("width", 5200);
        halo->SetAttribute("height", 5200);
        TiXmlElement* one = child(halo, "billboard");
        xyz(one, "position", Ogre::Vector3::ZERO);
        rgb(one, "colourDiffuse", Ogre::ColourValue(1.0f, 0.5f, 0.15f));
    }

    // The jaws are invisible skeletons (the game scales them to zero); the
    // motion of their root bones moves the teeth in the closing sequence.
    for (const Jaw& jaw : field.jaws) entity(node(nodes, jaw.entity, jaw.position), jaw.entity, "third_" + jaw.entity + ".mesh");

    // Each hole has a butterfly waiting in front of its mouth and a swirl
    // node inside the bore, its +Y axis against the ride (the stream of
    // sparks flies at the rider).
    for (std::size_t i = 0; i < field.holes.size(); ++i) {
        const HolePlace& hole = field.holes[i];
        const std::string n = std::to_string(i + 1);
        TiXmlElement* fly = node(nodes, "butterfly" + n, hole.mouth - hole.direction * 260.0f);
        TiXmlElement* wings = child(fly, "billboardSet");
        wings->SetAttribute("materialName", "Third/Butterfly");
        wings->SetAttribute("width", 140);
        wings->SetAttribute("height", 140);
        TiXmlElement* one = child(wings, "billboard");
        xyz(one, "position", Ogre::Vector3::ZERO);
        rgb(one, "colourDiffuse", Ogre::ColourValue(0.6f, 0.95f, 1.0f));
        TiXmlElement* trail = child(fly, "particleSystem");
        trail->SetAttribute("name", "butterfly" + n + "_particle");
        trail->SetAttribute("file", "Third/ButterflyTrail");

        TiXmlElement* swirl = node(nodes, "swirl" + n, (hole.mouth + hole.exitMouth) / 2);
        rotation(swirl, Ogre::Vector3::UNIT_Y.getRotationTo(-hole.direction));
    }

    directional(nodes, "third_moon", Ogre::Vector3(-0.35f, -0.55f, -0.75f), Ogre::ColourValue(0.72f, 0.76f, 0.92f), Ogre::ColourValue(0.25f, 0.25f, 0.3f));
    // A key light from the far viewer's side: the face's fronts read from
    // far out on +Z.
    directional(nodes, "third_key", Ogre::Vector3(0.1f, -0.3f, -1.0f), Ogre::ColourValue(0.9f, 0.85f, 0.8f), Ogre::ColourValue::Black);
    directional(nodes, "third_rim", Ogre::Vector3(0.25f, 0.45f, 0.85f), Ogre::ColourValue(0.1f, 0.26f, 0.3f), Ogre::ColourValue::Black);
    {
        // A warm glow deep in the throat lights the teeth from inside.
        TiXmlElement* n = node(nodes, "third_throat", Ogre::Vector3(-655, -2400, -6800));
        TiXmlElement* l = child(n, "light");
        l->SetAttribute("name", "third_throat");
        l->SetAttribute("type", "point");
        l->SetAttribute("castShadows", "false");
        rgb(l, "colourDiffuse", Ogre::ColourValue(1.0f, 0.5f, 0.22f));
        rgb(l, "colourSpecular", Ogre::ColourValue(0.3f, 0.15f, 0.05f));
        TiXmlElement* a = child(l, "lightAttenuation");
        a->SetAttribute("range", "40000");
        a->SetAttribute("constant", "0.5");
        a->SetAttribute("linear", "0.00008");
        a->SetAttribute("quadratic", "0");
    }

    TiXmlElement* config = child(scene, "config");
    rgb(config, "ambientLight", Ogre::ColourValue(0.1f, 0.1f, 0.13f));
    // No "shadow" element: the application's stencil shadows stay for the
    // scenes after this one; nothing here casts a shadow.
    child(config, "skyMesh")->SetAttribute("meshFile", "third_sky.mesh");
    TiXmlElement* background = child(config, "background");
    background->SetAttribute("r", number(SKY_BACKGROUND.r));
    background->SetAttribute("g", number(SKY_BACKGROUND.g));
    background->SetAttribute("b", number(SKY_BACKGROUND.b));
    TiXmlElement* fog = child(config, "fog");
    fog->SetAttribute("r", "0.02");
    fog->SetAttribute("g", "0.017");
    fog->SetAttribute("b", "0.04");
    // Thin: from the closing sequence's end, 35000 out, the face keeps 80%
    // of its light.
    fog->SetAttribute("density", "0.000012");

    TiXmlElement* custom = child(scene, "custom");
    child(custom, "sceneName")->SetAttribute("value", "third_scene");
    child(custom, "swirlTime")->SetAttribute("value", 2500);
    child(custom, "swirlWaitTime")->SetAttribute("value", 250);
    TiXmlElement* holes = child(custom, "holes");
    for (std::size_t i = 0; i < field.holes.size(); ++i) {
        const HolePlace& place = field.holes[i];
        const std::string n = std::to_string(i + 1);
        const Ogre::Real r = Ogre::Real(place.radius);
        TiXmlElement* hole = child(holes, "hole");
        hole->SetAttribute("particleSystem", "Third/SwirlStream");
        hole->SetAttribute("particleSystem2", "Third/SwirlRings");
        hole->SetAttribute("butterFly", "butterfly" + n);
        hole->SetAttribute("swirlNode", "swirl" + n);
        TiXmlElement* sphere = child(hole, "sphere");
        sphere->SetAttribute("radius", number(r * 1.15));
        sphere->SetAttribute("x", number(place.mouth.x));
        sphere->SetAttribute("y", number(place.mouth.y));
        sphere->SetAttribute("z", number(place.mouth.z));
        // In at the mouth, down the middle, up near the far mouth, and out
        // a little beyond it (the ride ends 130 above the fall point).
        xyz(hole, "centerPoint", place.mouth + place.direction * (r * 0.3f));
        xyz(hole, "downPoint", (place.mouth + place.exitMouth) / 2);
        xyz(hole, "upPoint", place.exitMouth - place.direction * (r * 0.3f));
        TiXmlElement* fall = child(hole, "fallPoints");
        for (const Ogre::Vector3& f : place.fallPoints) xyz(fall, "point", f);
    }
    TiXmlElement* noFog = child(custom, "disableFog");
    child(noFog, "material")->SetAttribute("name", "Third/SkyDome");
    child(noFog, "material")->SetAttribute("name", "Third/EyeGlow");

    save(doc, path);
}

}  // namespace ThirdWorld
