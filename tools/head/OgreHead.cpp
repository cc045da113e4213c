// "ogrehead.mesh": a stylised ogre's head, about 100 units tall, centred on
// the origin and facing +Z. A sphere pushed into shape (brow, nose,
// cheeks, jaw, pointed ears), with eyes and two tusks as parts of their
// own, and its mottled skin texture "ogrehead_skin.png".
#include <algorithm>
#include <cmath>

#include "mediagen/Generator.h"
#include "mediagen/Image.h"
#include "mediagen/MeshData.h"
#include "mediagen/Noise.h"
#include "mediagen/OgreExport.h"

using namespace MediaGen;

namespace {

constexpr float RADIUS = 40.0f;
const char* const SKIN = "Mossden/OgreHead/Skin";
const char* const EYES = "Mossden/OgreHead/Eyes";
const char* const TUSKS = "Mossden/OgreHead/Tusks";

// A smooth bump around direction `centre` (unit), `width` in radians.
float bump(const Ogre::Vector3& d, const Ogre::Vector3& centre, float width) {
    const float angle = std::acos(std::clamp(d.dotProduct(centre.normalisedCopy()), -1.0f, 1.0f));
    return std::exp(-(angle * angle) / (width * width));
}

// Radius factor of the head in direction d.
float shape(const Ogre::Vector3& d) {
    float r = 1.0f;
    r += 0.16f * bump(d, {0, 0.38f, 0.92f}, 0.32f) * (std::fabs(d.x) < 0.55f ? 1.0f : 0.4f);  // brow
    r += 0.32f * bump(d, {0, 0.02f, 1}, 0.16f);             // nose
    r += 0.12f * bump(d, {0, -0.12f, 1}, 0.2f);             // nose base
    r -= 0.08f * bump(d, {0.33f, 0.2f, 0.92f}, 0.14f);      // eye sockets
    r -= 0.08f * bump(d, {-0.33f, 0.2f, 0.92f}, 0.14f);
    r += 0.09f * bump(d, {0.55f, -0.12f, 0.8f}, 0.3f);      // cheeks
    r += 0.09f * bump(d, {-0.55f, -0.12f, 0.8f}, 0.3f);
    r -= 0.06f * bump(d, {0, -0.38f, 0.92f}, 0.12f);        // mouth line
    r += 0.18f * bump(d, {0, -0.55f, 0.8f}, 0.35f);         // heavy jaw
    r += 0.32f * bump(d, {1, 0.3f, -0.15f}, 0.09f);         // pointed ears
    r += 0.32f * bump(d, {-1, 0.3f, -0.15f}, 0.09f);
    r += 0.14f * bump(d, {1, 0.15f, -0.1f}, 0.2f);
    r += 0.14f * bump(d, {-1, 0.15f, -0.1f}, 0.2f);
    return r;
}

Ogre::Vector3 headPoint(const Ogre::Vector3& d) {
    Ogre::Vector3 p = d * RADIUS * shape(d);
    p.y *= 1.12f;
    if (p.y < 0) p.x *= 1.0f + 0.12f * (-p.y / RADIUS);  // wider at the jaw
    return p;
}

MeshData makeHead() {
    MeshData head = MeshData::uvSphere(1.0f, 72, 40, SKIN);
    for (auto& v : head.vertices) v.position = headPoint(v.position.normalisedCopy());
    head.computeNormals();

    for (float side : {-1.0f, 1.0f}) {
        // Eyes sit in their sockets, a little forward of the skull.
        const Ogre::Vector3 eyeDir = Ogre::Vector3(0.33f * side, 0.2f, 0.92f).normalisedCopy();
        const Ogre::Vector3 eyeAt = headPoint(eyeDir) - eyeDir * 2.0f;
        MeshData eye = MeshData::uvSphere(5.5f, 20, 12, EYES);
        Ogre::Matrix4 at;
        at.makeTransform(eyeAt, Ogre::Vector3::UNIT_SCALE, Ogre::Quaternion::IDENTITY);
        head.append(eye, at);
        // Tusks rise from the lower jaw, curving outwards.
        const Ogre::Vector3 jawDir = Ogre::Vector3(0.28f * side, -0.42f, 0.86f).normalisedCopy();
        const Ogre::Vector3 root = headPoint(jawDir) - jawDir * 3.0f;
        MeshData tusk = MeshData::cylinder(3.2f, 0.0f, 17.0f, 14, TUSKS, true);
        Ogre::Matrix4 m;
        m.makeTransform(root, Ogre::Vector3::UNIT_SCALE,
                        Ogre::Quaternion(Ogre::Degree(-18 * side), Ogre::Vector3::UNIT_Z) *
                            Ogre::Quaternion(Ogre::Degree(12), Ogre::Vector3::UNIT_X));
        head.append(tusk, m);
    }
    return head;
}

Image makeSkin() {
    Image skin(256, 256);
    Noise noise(0x06E);
    const Rgba deep{0.22f, 0.36f, 0.16f, 1}, light{0.47f, 0.6f, 0.3f, 1}, warm{0.55f, 0.45f, 0.3f, 1};
    skin.fill([&](float u, float v) {
        const float blotch = 0.5f + 0.5f * noise.fbmTiled(u * 6, v * 6, 6, 6, 4);
        const float freckle = noise.fbmTiled(u * 24 + 7, v * 24, 24, 24, 2);
        Rgba c = mix(deep, light, std::clamp(blotch * 1.3f - 0.15f, 0.0f, 1.0f));
        c = mix(c, warm, std::clamp(freckle - 0.35f, 0.0f, 1.0f) * 0.8f);
        return c;
    });
    return skin;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        HeadlessOgre ogre;
        ogre.writeMesh(makeHead(), out.path("models/ogrehead.mesh"));
        makeSkin().writePng(out.path("textures/ogrehead_skin.png"), false);
    });
}
