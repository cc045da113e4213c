// Generates the world of the first and second scenes: meshes, skeletons,
// textures and the two scene files, under the media root (the sounds their
// starters name are made in tools/sounds).
//   first_world <media root>
#include <OgreQuaternion.h>
#include <OgreVector3.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "Creatures.h"
#include "Flight.h"
#include "Textures.h"
#include "World.h"
#include "mediagen/Generator.h"
#include "mediagen/MeshData.h"
#include "mediagen/OgreExport.h"
#include "mediagen/Random.h"
#include "mediagen/SceneXml.h"

using namespace FirstWorld;
using Ogre::Quaternion;
using Ogre::Vector3;

namespace {

using namespace MediaGen::SceneXml;
using Ogre::ColourValue;

// ---- what the scene files say (data; the writer code follows) -------------

constexpr int TRACK_LENGTH = 2600;      // "CameraTrack" length, track time
constexpr int FALL_LENGTH = 1000;       // "CameraFallTrack" length
const Vector3 VIEW_CENTRE(0.3830f, -0.9063f, -0.1786f);  // the rig's starting view
const ColourValue AMBIENT(0.34f, 0.38f, 0.30f);

// Lights; a directional light shines along `direction`, a point light sits
// at `position`. The first scene's point light stays hidden until the
// approach removes it.
struct LightSpec {
    const char* name;
    const char* type;
    Vector3 position;
    Vector3 direction;
    ColourValue colour;
    bool visible;
};
const LightSpec FIRST_LIGHTS[] = {
    {"Scene1Sun", "directional", Vector3::ZERO, Vector3(0.55f, -0.45f, 0.70f), ColourValue(1.0f, 0.86f, 0.62f), true},
    {"Scene1SkyFill", "directional", Vector3::ZERO, Vector3(-0.4f, -0.8f, -0.3f), ColourValue(0.22f, 0.30f, 0.38f), true},
    {"Scene1Omni02", "point", LADYBIRD_START + Vector3(0, 300, 0), Vector3::ZERO, ColourValue(0.8f, 0.7f, 0.5f), false},
};
const LightSpec TUNNEL_GLOW = {"TunnelGlow", "point", HOLE + Vector3(0, -700, 0) - VIEW_DIR * 400.0f, Vector3::ZERO,
                               ColourValue(0.35f, 0.8f, 0.6f), true};

// Two fiddleheads beside the ladybird's path, opening as the climb starts.
struct FernSpec {
    const char* name;
    Vector3 at;  // y is taken from the ground
    float yawDegrees;
    float scale;
};
const FernSpec FERNS[] = {
    {"fern1", LADYBIRD_START + VIEW_DIR * 45.0f + SIDE_DIR * 70.0f, -40, 1.0f},
    {"fern2", LADYBIRD_START + VIEW_DIR * 160.0f - SIDE_DIR * 120.0f, 150, 1.6f},
};

// Entities whose skeletal animation starts at a time of the camera track.
struct AnimationStart {
    const char* entity;
    float time;
};
const AnimationStart ANIMATION_STARTS[] = {{"fern1", 3}, {"fern2", 9}};

// Sounds started at a second of play without input (the writer turns the
// seconds into track time).
struct SoundStart {
    const char* sound;
    float playSeconds;
};
const SoundStart SOUND_STARTS[] = {
    {"moss_rustle.ogg", 0}, {"dew_drop.ogg", 6}, {"dragonfly.ogg", 20},
    {"dragonfly.ogg", 74},  {"wind.ogg", 95},    {"stem_creak.ogg", 95},
};
// Starts, looping, where the ascent ends (see the soundsStarter below).
const char* const TUNNEL_AIR_SOUND = "scene2noise.ogg";

// The first scene's height limits: (limit in degrees, camera height) pairs.
const int RADIUS_POINTS[][2] = {{58, 300}, {42, 1500}, {26, 4000}, {12, 7000}, {3, 30000}};
constexpr int CAMERA_SPEED = 100;
constexpr int DOTWING_START_DELAY = 2500;  // ms

// ---- writers --------------------------------------------------------------

// Every mesh of this world carries vertex colours.
void writeStaticMesh(MediaGen::HeadlessOgre& ogre, MeshData mesh, const std::string& path) {
    mesh.hasColours = true;
    ogre.writeMesh(mesh, path);
}

void writeCreature(MediaGen::HeadlessOgre& ogre, MediaGen::Output& out, Creature c,
                   const std::string& name) {
    c.mesh.hasColours = true;
    if (c.skeleton.bones.empty()) {
        ogre.writeMesh(c.mesh, out.path("models/" + name + ".mesh"));
        return;
    }
    ogre.writeSkeleton(c.skeleton, out.path("models/" + name + ".skeleton"));
    ogre.writeMesh(c.mesh, out.path("models/" + name + ".mesh"), name + ".skeleton", &c.skeleton);
}

void entityNode(TiXmlElement* nodes, const std::string& name, const std::string& mesh, const Vector3& at,
                const Quaternion& q = Quaternion::IDENTITY, float scale = 1.0f) {
    TiXmlElement* n = node(nodes, name + "Node", at);
    if (q != Quaternion::IDENTITY) rotation(n, q);
    if (scale != 1.0f) xyz(n, "scale", Vector3(scale));
    entity(n, name, mesh);
}

void lightNode(TiXmlElement* nodes, const LightSpec& lamp) {
    TiXmlElement* n = node(nodes, std::string(lamp.name) + "Node", lamp.position);
    if (lamp.direction != Vector3::ZERO)
        rotation(n, Vector3::NEGATIVE_UNIT_Z.getRotationTo(lamp.direction.normalisedCopy()));
    const ColourValue& c = lamp.colour;
    TiXmlElement* l = light(n, lamp.name, lamp.type, c, ColourValue(c.r * 0.6f, c.g * 0.6f, c.b * 0.5f));
    if (!lamp.visible) l->SetAttribute("visible", "false");
    if (std::string(lamp.type) == "point") {
        TiXmlElement* a = child(l, "lightAttenuation");
        a->SetAttribute("range", "3000");
        a->SetAttribute("constant", "1");
        a->SetAttribute("linear", "0.0008");
        a->SetAttribute("quadratic", "0");
    }
}

struct Track {
    std::vector<std::pair<float, Vector3>> keys;  // track time, position
};

// The game reads track and path points as whole numbers.
TiXmlElement* wholeXyz(TiXmlElement* parent, const char* name, const Vector3& p) {
    TiXmlElement* e = child(parent, name);
    e->SetAttribute("x", int(std::lround(p.x)));
    e->SetAttribute("y", int(std::lround(p.y)));
    e->SetAttribute("z", int(std::lround(p.z)));
    return e;
}

void track(TiXmlElement* custom, const char* element, int length, const Track& t) {
    TiXmlElement* e = child(custom, element);
    e->SetAttribute("length", length);
    for (const auto& k : t.keys) wholeXyz(e, "translate", k.second)->SetAttribute("keyFrame", number(k.first));
}

// An object that follows a path of one point a second for `seconds` seconds.
template <class F>
void mover(TiXmlElement* movers, const std::string& name, const std::string& mesh, float scale, int seconds,
           F at) {
    TiXmlElement* object = child(movers, "object");
    TiXmlElement* n = child(object, "node");
    TiXmlElement* e = child(n, "entity");
    e->SetAttribute("name", name);
    e->SetAttribute("meshFile", mesh);
    xyz(n, "scale", Vector3(scale));
    TiXmlElement* path = child(object, "path");
    path->SetAttribute("time", seconds);
    for (int t = 0; t <= seconds; ++t) wholeXyz(path, "point", at(float(t)));
}

// The camera's position at a second of play without input.
Vector3 cameraAt(float seconds) { return ascentPoint(ascentHeight(seconds)); }

float smooth(float a, float b, float x) {
    const float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// Track time at a second of play (linear in the simulated samples); the
// track starts at 0.
float trackTimeAt(const std::vector<FlightSample>& flight, float seconds) {
    if (seconds <= 0) return 0;
    for (size_t i = 1; i < flight.size(); ++i)
        if (flight[i].seconds >= seconds) return flight[i].trackTime;
    return flight.back().trackTime;
}

}  // namespace

void generate(MediaGen::Output& out) {
    MediaGen::HeadlessOgre ogre;
    writeTextures(out);
    TiXmlDocument firstDoc;
    TiXmlElement* first = startScene(firstDoc);
    TiXmlElement* nodes = child(first, "nodes");
    size_t triangles = 0;
    for (const NamedMesh& m : buildStaticWorld()) {
        writeStaticMesh(ogre, m.mesh, out.path("models/" + m.name + ".mesh"));
        entityNode(nodes, m.name, m.name + ".mesh", m.origin);
        triangles += m.mesh.triangleCount();
    }
    std::cout << "first world: " << triangles << " static triangles" << std::endl;
    writeStaticMesh(ogre, buildSkyDome(), out.path("models/first_sky.mesh"));

    // creatures
    const std::vector<Vector3> walk = ladybirdWalk();
    writeCreature(ogre, out, buildLadybird(), "ladybird");
    writeCreature(ogre, out, buildLadybirdHind(), "ladybird2");
    writeCreature(ogre, out, buildLadybirdTrack(walk, LADYBIRD_SPEED), "ladybird_track");
    writeCreature(ogre, out, buildDragonfly(), "dragonfly");
    writeCreature(ogre, out, buildSeed(), "seed");
    writeCreature(ogre, out, buildFern(), "fern");

    entityNode(nodes, "ladybird_track", "ladybird_track.mesh", Vector3::ZERO);
    entityNode(nodes, "ladybird", "ladybird.mesh", LADYBIRD_START);
    entityNode(nodes, "ladybird2", "ladybird2.mesh", LADYBIRD_START);
    for (const FernSpec& fern : FERNS)
        entityNode(nodes, fern.name, "fern.mesh",
                   Vector3(fern.at.x, groundHeight(fern.at.x, fern.at.z) - 2, fern.at.z),
                   Quaternion(Ogre::Degree(fern.yawDegrees), Vector3::UNIT_Y), fern.scale);
    for (const LightSpec& light : FIRST_LIGHTS) lightNode(nodes, light);

    // the flight
    const FlightRates rates;
    const std::vector<FlightSample> flight = simulateFlight(rates, TRACK_LENGTH, ascentHeight);
    float ascentEndSeconds = 0, ascentEndTrack = 0;
    for (const FlightSample& s : flight)
        if (!s.approach) {
            ascentEndSeconds = s.seconds;
            ascentEndTrack = s.trackTime;
        }
    const float flightSeconds = flight.back().seconds;
    Track camera;
    for (float t = 0; t <= ascentEndSeconds + 1.0f; t += 1.0f) camera.keys.push_back({trackTimeAt(flight, t), cameraAt(t)});
    // the approach: on and up from the climb's end to hover over the burrow
    // by four fifths of the track, then sink a little while turning down
    const Vector3 from = camera.keys.back().second;
    const float fromTime = camera.keys.back().first;
    const Vector3 velocity = (cameraAt(ascentEndSeconds + 1.0f) - cameraAt(ascentEndSeconds)) /
                             std::max(1.0f, trackTimeAt(flight, ascentEndSeconds + 1.0f) - trackTimeAt(flight, ascentEndSeconds));
    const Vector3 over(HOLE.x, TOP_HEIGHT, HOLE.z);
    const float turnTime = TRACK_LENGTH * 0.8f;
    for (float T = fromTime + 10; T < turnTime; T += 10) {
        const float u = (T - fromTime) / (turnTime - fromTime);
        const float h00 = 2 * u * u * u - 3 * u * u + 1, h10 = u * u * u - 2 * u * u + u, h01 = -2 * u * u * u + 3 * u * u;
        camera.keys.push_back({T, from * h00 + velocity * (turnTime - fromTime) * h10 * 0.5f + over * h01});
    }
    for (float T = turnTime; T <= TRACK_LENGTH; T += 20)
        camera.keys.push_back({T, over - Vector3(0, 260.0f * smooth(turnTime, TRACK_LENGTH, T), 0)});
    const Vector3 trackEnd = camera.keys.back().second;

    Track fall;
    for (int k = 0; k <= 20; ++k) {
        const float f = k / 20.0f;
        const Vector3 bottom(HOLE.x, groundHeight(HOLE.x, HOLE.z) - 350, HOLE.z);
        Vector3 p = trackEnd + (bottom - trackEnd) * f;
        fall.keys.push_back({FALL_LENGTH * 0.7f * f, p});
    }
    for (int k = 1; k <= 6; ++k) {
        const float f = k / 6.0f;
        fall.keys.push_back({FALL_LENGTH * (0.7f + 0.3f * f),
                             Vector3(HOLE.x, groundHeight(HOLE.x, HOLE.z) - 350 - 700 * f, HOLE.z) - VIEW_DIR * (500 * f * f)});
    }

    std::cout << "flight: ascent " << ascentEndSeconds << " s to track time " << ascentEndTrack << ", track ends after "
              << flightSeconds << " s" << std::endl;

    TiXmlElement* config = child(first, "config");
    rgb(config, "ambientLight", AMBIENT);
    child(config, "shadow")->SetAttribute("technique", "NONE");
    child(config, "skyMesh")->SetAttribute("meshFile", "first_sky.mesh");
    TiXmlElement* fog = child(config, "fog");
    fog->SetAttribute("r", number(FOG_COLOUR[0]));
    fog->SetAttribute("g", number(FOG_COLOUR[1]));
    fog->SetAttribute("b", number(FOG_COLOUR[2]));
    fog->SetAttribute("density", number(FOG_DENSITY));

    TiXmlElement* custom = child(first, "custom");
    value(custom, "sceneName", "first");
    child(custom, "cameraSpeed")->SetAttribute("value", CAMERA_SPEED);
    Track dead;
    dead.keys = {{0, cameraAt(30) + VIEW_CENTRE * 260.0f}, {10, cameraAt(30) + VIEW_CENTRE * 260.0f + SIDE_DIR * 400.0f}};
    track(custom, "DragonFlyTrack", 10, dead);
    Track lady;
    lady.keys = {{0, walk.front()}, {100, walk.back()}};
    track(custom, "LadyBirdTrack", 100, lady);
    TiXmlElement* limits = child(custom, "radiusPoints");
    for (const auto& l : RADIUS_POINTS) {
        TiXmlElement* point = child(limits, "point");
        point->SetAttribute("x", l[0]);
        point->SetAttribute("y", l[1]);
        point->SetAttribute("z", 0);
    }
    track(custom, "CameraTrack", TRACK_LENGTH, camera);
    track(custom, "CameraFallTrack", FALL_LENGTH, fall);

    // path movers, timed by the seconds of play without input
    TiXmlElement* movers = child(custom, "pathMoveObjects");
    auto dragonflyPath = [&](float passAt, float distance, float sideSpeed) {
        return [=](float t) {
            const Vector3 view = cameraAt(passAt) + VIEW_CENTRE * distance;
            const float x = t - passAt;
            Vector3 p = view + SIDE_DIR * (x < 0 ? sideSpeed * x : (x < 3 ? 12 * x : 36 + sideSpeed * 1.6f * (x - 3))) +
                        Vector3(0, 18 * std::sin(t * 1.7f) + (x > 3 ? 60 * (x - 3) : 0), 0);
            if (x < -6) p += SIDE_DIR * (x + 6) * 300.0f;
            return p;
        };
    };
    mover(movers, "dragonfly", "dragonfly.mesh", 1.0f, 45, dragonflyPath(24, 260, 110));
    mover(movers, "dragonfly2", "dragonfly.mesh", 1.2f, 95, dragonflyPath(78, 650, -160));
    for (int i = 0; i < 5; ++i) {
        const float startAt = 10.0f + i * 19.0f;
        MediaGen::Random r(300 + i);
        const Vector3 side = SIDE_DIR * r.range(-160, 160);
        const float drift = r.range(-25, 25);
        const int seconds = int(startAt) + 40;
        mover(movers, "seed" + std::to_string(i + 1), "seed.mesh", 1.0f, seconds, [=](float t) {
            const float x = std::max(0.0f, t - startAt);
            return cameraAt(startAt) + Vector3(0, 350 - 45 * x, 0) + VIEW_DIR * 120.0f + side +
                   SIDE_DIR * (drift * x) + Vector3(8 * std::sin(x), 0, 8 * std::cos(x * 0.7f));
        });
    }

    child(custom, "dotwingStartDelay")->SetAttribute("value", DOTWING_START_DELAY);
    value(custom, "cameraAccseleration", rates.cameraAcceleration);
    value(custom, "cameraKeyAccseleration", rates.keyAcceleration);
    value(custom, "cameraKeySlowdown", rates.keySlowdown);
    value(custom, "cameraMaxKeyAccseleration", rates.maxKeyAcceleration);
    TiXmlElement* animations = child(custom, "animationStarter");
    for (const AnimationStart& a : ANIMATION_STARTS) {
        TiXmlElement* start = child(animations, "start");
        start->SetAttribute("entity", a.entity);
        start->SetAttribute("time", number(a.time));
    }
    TiXmlElement* sounds = child(custom, "soundsStarter");
    for (const SoundStart& s : SOUND_STARTS) {
        TiXmlElement* start = child(sounds, "start");
        start->SetAttribute("sound", s.sound);
        start->SetAttribute("time", number(trackTimeAt(flight, s.playSeconds)));
        start->SetAttribute("loop", "false");
    }
    // The tunnel's air comes in under the climb's music as the music fades
    // for the approach, and carries the approach, the fall, the burrow and
    // the outro; the asteroid field's opening fades it out.
    TiXmlElement* air = child(sounds, "start");
    air->SetAttribute("sound", TUNNEL_AIR_SOUND);
    air->SetAttribute("time", number(ascentEndTrack));
    air->SetAttribute("loop", "true");
    child(child(custom, "disableFog"), "material")->SetAttribute("name", "FirstScene/SkyDome");
    save(firstDoc, out.path("scenes/first_scene.xml"));

    // the second file: the burrow the fall drops into
    TiXmlDocument secondDoc;
    TiXmlElement* second = startScene(secondDoc);
    TiXmlElement* tunnelNodes = child(second, "nodes");
    for (const NamedMesh& m : buildTunnel()) {
        writeStaticMesh(ogre, m.mesh, out.path("models/" + m.name + ".mesh"));
        entityNode(tunnelNodes, m.name, m.name + ".mesh", Vector3::ZERO);
    }
    lightNode(tunnelNodes, TUNNEL_GLOW);
    rgb(child(second, "config"), "ambientLight", AMBIENT);
    TiXmlElement* secondCustom = child(second, "custom");
    value(secondCustom, "sceneName", "second");
    Track tunnel;
    for (int k = 0; k <= 12; ++k) {
        const float f = k / 12.0f;
        const float depth = std::min(f * 3.0f, 1.0f);
        tunnel.keys.push_back({f * 60.0f, HOLE + Vector3(0, -150 - 900 * depth, 0) -
                                               VIEW_DIR * (2600.0f * std::max(0.0f, f - 0.2f)) +
                                               SIDE_DIR * (500.0f * std::sin(f * 4.0f))});
    }
    track(secondCustom, "CameraTunnelTrack", 60, tunnel);
    save(secondDoc, out.path("scenes/second_scene.xml"));
}

int main(int argc, char** argv) { return MediaGen::runGenerator(argc, argv, generate); }
