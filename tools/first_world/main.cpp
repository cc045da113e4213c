// Generates the world of the first and second scenes: meshes, skeletons,
// textures, sounds and the two scene files, under the media root.
//   first_world <media root>
#include <OgreQuaternion.h>
#include <OgreVector3.h>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "Creatures.h"
#include "Flight.h"
#include "Noise.h"
#include "Sounds.h"
#include "Textures.h"
#include "World.h"
#include "Writers.h"
#include "mediagen/Generator.h"
#include "mediagen/OgreExport.h"

using namespace FirstWorld;
using Ogre::Quaternion;
using Ogre::Vector3;

namespace {

constexpr int TRACK_LENGTH = 2600;      // "CameraTrack" length, track time
constexpr int FALL_LENGTH = 1000;       // "CameraFallTrack" length
const Vector3 VIEW_CENTRE(0.3830f, -0.9063f, -0.1786f);  // the rig's starting view

// Fixed-point text of v; digits after the point as asked, trailing zeros cut.
std::string num(float v, int digits = 4) {
    std::ostringstream s;
    s << std::fixed << std::setprecision(digits) << v;
    std::string t = s.str();
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
    return t == "-0" ? "0" : t;
}
std::string xyz(const Vector3& p) {
    return "x=\"" + num(p.x) + "\" y=\"" + num(p.y) + "\" z=\"" + num(p.z) + "\"";
}
std::string ixyz(const Vector3& p) {
    return "x=\"" + std::to_string(int(std::lround(p.x))) + "\" y=\"" + std::to_string(int(std::lround(p.y))) +
           "\" z=\"" + std::to_string(int(std::lround(p.z))) + "\"";
}
std::string quat(const Quaternion& q) {
    return "qw=\"" + num(q.w) + "\" qx=\"" + num(q.x) + "\" qy=\"" + num(q.y) + "\" qz=\"" + num(q.z) + "\"";
}

void writeCreature(MediaGen::HeadlessOgre& ogre, const MediaGen::Output& out, const Creature& c,
                   const std::string& name) {
    if (c.skeleton.bones.empty())
        writeStaticMesh(ogre, c.mesh, out.path("models/" + name + ".mesh"));
    else
        writeSkinnedMesh(ogre, c.mesh, c.skeleton, out.path("models/" + name + ".mesh"),
                         out.path("models/" + name + ".skeleton"), name + ".skeleton");
}

std::string entityNode(const std::string& name, const std::string& mesh, const Vector3& at,
                       const Quaternion& q = Quaternion::IDENTITY, float scale = 1.0f) {
    std::ostringstream s;
    s << "    <node name=\"" << name << "Node\">\n      <position " << xyz(at) << "/>\n";
    if (q != Quaternion::IDENTITY) s << "      <rotation " << quat(q) << "/>\n";
    if (scale != 1.0f) s << "      <scale " << xyz(Vector3(scale)) << "/>\n";
    s << "      <entity name=\"" << name << "\" meshFile=\"" << mesh << "\" castShadows=\"false\"/>\n    </node>\n";
    return s.str();
}

// Sun and sky: directional lights point along their node's -Z.
std::string lightNode(const std::string& name, const std::string& type, const Vector3& at, const Vector3& dir,
                      const Ogre::ColourValue& colour, const std::string& extra = "") {
    std::ostringstream s;
    s << "    <node name=\"" << name << "Node\">\n      <position " << xyz(at) << "/>\n";
    if (dir != Vector3::ZERO)
        s << "      <rotation " << quat(Vector3::NEGATIVE_UNIT_Z.getRotationTo(dir.normalisedCopy())) << "/>\n";
    s << "      <light name=\"" << name << "\" type=\"" << type << "\" castShadows=\"false\"" << extra << ">\n"
      << "        <colourDiffuse r=\"" << num(colour.r) << "\" g=\"" << num(colour.g) << "\" b=\"" << num(colour.b)
      << "\"/>\n        <colourSpecular r=\"" << num(colour.r * 0.6f) << "\" g=\"" << num(colour.g * 0.6f)
      << "\" b=\"" << num(colour.b * 0.5f) << "\"/>\n";
    if (type == "point") s << "        <lightAttenuation range=\"3000\" constant=\"1\" linear=\"0.0008\" quadratic=\"0\"/>\n";
    s << "      </light>\n    </node>\n";
    return s.str();
}

// The camera's position at a second of play without input.
Vector3 cameraAt(float seconds) { return ascentPoint(ascentHeight(seconds)); }

// A path of one point a second for `seconds` seconds.
template <class F>
std::string path(int seconds, F at) {
    std::ostringstream s;
    s << "      <path time=\"" << seconds << "\">\n";
    for (int t = 0; t <= seconds; ++t) s << "        <point " << xyz(at(float(t))) << "/>\n";
    s << "      </path>\n";
    return s.str();
}

std::string mover(const std::string& name, const std::string& mesh, float scale, int seconds,
                  const std::string& pathText) {
    return "    <object>\n      <node>\n        <entity name=\"" + name + "\" meshFile=\"" + mesh +
           "\"/>\n        <scale " + xyz(Vector3(scale)) + "/>\n      </node>\n" + pathText + "    </object>\n";
}

float smooth(float a, float b, float x) {
    const float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

struct Track {
    std::vector<std::pair<float, Vector3>> keys;
};

std::string track(const std::string& element, int length, const Track& t, bool spline = false) {
    std::ostringstream s;
    s << "    <" << element << " length=\"" << length << "\"" << (spline ? " type=\"Spline\"" : "") << ">\n";
    for (const auto& k : t.keys) s << "      <translate " << ixyz(k.second) << " keyFrame=\"" << num(k.first) << "\"/>\n";
    s << "    </" << element << ">\n";
    return s.str();
}

// Track time at a second of play (linear in the simulated samples).
float trackTimeAt(const std::vector<FlightSample>& flight, float seconds) {
    for (size_t i = 1; i < flight.size(); ++i)
        if (flight[i].seconds >= seconds) return flight[i].trackTime;
    return flight.back().trackTime;
}

}  // namespace

void generate(const MediaGen::Output& out) {
    MediaGen::HeadlessOgre ogre;
    writeTextures(out);
    writeSounds(out);
    std::ostringstream nodes;
    size_t triangles = 0;
    for (const NamedMesh& m : buildStaticWorld()) {
        writeStaticMesh(ogre, m.mesh, out.path("models/" + m.name + ".mesh"));
        nodes << entityNode(m.name, m.name + ".mesh", Vector3::ZERO);
        triangles += m.mesh.triangleCount();
    }
    std::cout << "first world: " << triangles << " static triangles" << std::endl;

    // creatures
    const std::vector<Vector3> walk = ladybirdWalk();
    writeCreature(ogre, out, buildLadybird(), "ladybird");
    writeCreature(ogre, out, buildLadybirdHind(), "ladybird2");
    writeCreature(ogre, out, buildLadybirdTrack(walk, LADYBIRD_SPEED), "ladybird_track");
    writeCreature(ogre, out, buildDragonfly(), "dragonfly");
    writeCreature(ogre, out, buildSeed(), "seed");
    writeCreature(ogre, out, buildFern(), "fern");

    nodes << entityNode("ladybird_track", "ladybird_track.mesh", Vector3::ZERO);
    nodes << entityNode("ladybird", "ladybird.mesh", LADYBIRD_START);
    nodes << entityNode("ladybird2", "ladybird2.mesh", LADYBIRD_START);
    // two fiddleheads beside the ladybird's path, opening as the climb starts
    const Vector3 fern1 = LADYBIRD_START + VIEW_DIR * 45.0f + SIDE_DIR * 70.0f;
    const Vector3 fern2 = LADYBIRD_START + VIEW_DIR * 160.0f - SIDE_DIR * 120.0f;
    nodes << entityNode("fern1", "fern.mesh", Vector3(fern1.x, groundHeight(fern1.x, fern1.z) - 2, fern1.z),
                        Quaternion(Ogre::Degree(-40), Vector3::UNIT_Y));
    nodes << entityNode("fern2", "fern.mesh", Vector3(fern2.x, groundHeight(fern2.x, fern2.z) - 2, fern2.z),
                        Quaternion(Ogre::Degree(150), Vector3::UNIT_Y), 1.6f);

    nodes << lightNode("Scene1Sun", "directional", Vector3::ZERO, Vector3(0.55f, -0.45f, 0.70f),
                       Ogre::ColourValue(1.0f, 0.86f, 0.62f));
    nodes << lightNode("Scene1SkyFill", "directional", Vector3::ZERO, Vector3(-0.4f, -0.8f, -0.3f),
                       Ogre::ColourValue(0.22f, 0.30f, 0.38f));
    // kept in the scene but hidden; the approach removes it
    nodes << lightNode("Scene1Omni02", "point", LADYBIRD_START + Vector3(0, 300, 0), Vector3::ZERO,
                       Ogre::ColourValue(0.8f, 0.7f, 0.5f), " visible=\"false\"");

    // the flight
    const FlightRates rates;
    const std::vector<FlightSample> flight = simulateFlight(rates, TRACK_LENGTH);
    float ascentEndSeconds = 0, ascentEndTrack = 0;
    for (const FlightSample& s : flight)
        if (s.phase == 2) {
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

    // path movers, timed by the seconds of play without input
    std::ostringstream movers;
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
    movers << mover("dragonfly", "dragonfly.mesh", 1.0f, 45, path(45, dragonflyPath(24, 260, 110)));
    movers << mover("dragonfly2", "dragonfly.mesh", 1.2f, 95, path(95, dragonflyPath(78, 650, -160)));
    for (int i = 0; i < 5; ++i) {
        const float startAt = 10.0f + i * 19.0f;
        Random r(300 + i);
        const Vector3 side = SIDE_DIR * r.range(-160, 160);
        const float drift = r.range(-25, 25);
        const int seconds = int(startAt) + 40;
        movers << mover("seed" + std::to_string(i + 1), "seed.mesh", 1.0f, seconds, path(seconds, [=](float t) {
                            const float x = std::max(0.0f, t - startAt);
                            return cameraAt(startAt) + Vector3(0, 350 - 45 * x, 0) + VIEW_DIR * 120.0f + side +
                                   SIDE_DIR * (drift * x) + Vector3(8 * std::sin(x), 0, 8 * std::cos(x * 0.7f));
                        }));
    }

    std::ostringstream first;
    first << "<scene formatVersion=\"1.0\">\n  <nodes>\n" << nodes.str() << "  </nodes>\n"
          << "  <config>\n    <ambientLight r=\"0.34\" g=\"0.38\" b=\"0.30\"/>\n    <shadow technique=\"NONE\"/>\n"
          << "    <skyBox materialName=\"FirstScene/Sky\" distance=\"60000\" drawFirst=\"true\"/>\n"
          << "    <fog r=\"" << num(FOG_COLOUR[0]) << "\" g=\"" << num(FOG_COLOUR[1]) << "\" b=\"" << num(FOG_COLOUR[2])
          << "\" density=\"" << num(FOG_DENSITY, 8) << "\"/>\n  </config>\n"
          << "  <custom>\n    <sceneName value=\"first\"/>\n    <cameraSpeed value=\"100\"/>\n";
    Track dead;
    dead.keys = {{0, cameraAt(30) + VIEW_CENTRE * 260.0f}, {10, cameraAt(30) + VIEW_CENTRE * 260.0f + SIDE_DIR * 400.0f}};
    first << track("DragonFlyTrack", 10, dead);
    Track lady;
    lady.keys = {{0, walk.front()}, {100, walk.back()}};
    first << track("LadyBirdTrack", 100, lady);
    first << "    <radiusPoints>\n";
    const int limits[][2] = {{58, 300}, {42, 1500}, {26, 4000}, {12, 7000}, {3, 30000}};
    for (const auto& l : limits) first << "      <point x=\"" << l[0] << "\" y=\"" << l[1] << "\" z=\"0\"/>\n";
    first << "    </radiusPoints>\n";
    first << track("CameraTrack", TRACK_LENGTH, camera);
    first << track("CameraFallTrack", FALL_LENGTH, fall);
    first << "    <pathMoveObjects>\n" << movers.str() << "    </pathMoveObjects>\n";
    first << "    <dotwingStartDelay value=\"2500\"/>\n"
          << "    <cameraAccseleration value=\"" << num(rates.cameraAcceleration) << "\"/>\n"
          << "    <cameraKeyAccseleration value=\"" << num(rates.keyAcceleration) << "\"/>\n"
          << "    <cameraKeySlowdown value=\"" << num(rates.keySlowdown) << "\"/>\n"
          << "    <cameraMaxKeyAccseleration value=\"" << num(rates.maxKeyAcceleration) << "\"/>\n"
          << "    <animationStarter>\n      <start entity=\"fern1\" time=\"3\"/>\n"
          << "      <start entity=\"fern2\" time=\"9\"/>\n    </animationStarter>\n";
    // The tunnel's air comes in under the climb's music as the music fades
    // for the approach, and carries the approach, the fall, the burrow and
    // the outro; the asteroid field's opening fades it out.
    first << "    <soundsStarter>\n"
          << "      <start sound=\"" << SOUND_RUSTLE << "\" time=\"0\" loop=\"false\"/>\n"
          << "      <start sound=\"" << SOUND_DEW << "\" time=\"" << num(trackTimeAt(flight, 6)) << "\" loop=\"false\"/>\n"
          << "      <start sound=\"" << SOUND_DRAGONFLY << "\" time=\"" << num(trackTimeAt(flight, 20)) << "\" loop=\"false\"/>\n"
          << "      <start sound=\"" << SOUND_DRAGONFLY << "\" time=\"" << num(trackTimeAt(flight, 74)) << "\" loop=\"false\"/>\n"
          << "      <start sound=\"" << SOUND_WIND << "\" time=\"" << num(trackTimeAt(flight, 95)) << "\" loop=\"false\"/>\n"
          << "      <start sound=\"" << SOUND_CREAK << "\" time=\"" << num(trackTimeAt(flight, 95)) << "\" loop=\"false\"/>\n"
          << "      <start sound=\"" << SOUND_TUNNEL << "\" time=\"" << num(ascentEndTrack) << "\" loop=\"true\"/>\n"
          << "    </soundsStarter>\n";
    first << "    <disableFog>\n      <material name=\"FirstScene/Sky\"/>\n    </disableFog>\n";
    first << "  </custom>\n</scene>\n";
    std::ofstream(out.path("scenes/first_scene.xml")) << first.str();

    // the second file: the burrow the fall drops into
    std::ostringstream second;
    second << "<scene formatVersion=\"1.0\">\n  <nodes>\n";
    for (const NamedMesh& m : buildTunnel()) {
        writeStaticMesh(ogre, m.mesh, out.path("models/" + m.name + ".mesh"));
        second << entityNode(m.name, m.name + ".mesh", Vector3::ZERO);
    }
    second << lightNode("TunnelGlow", "point", HOLE + Vector3(0, -700, 0) - VIEW_DIR * 400.0f, Vector3::ZERO,
                        Ogre::ColourValue(0.35f, 0.8f, 0.6f));
    second << "  </nodes>\n  <config>\n    <ambientLight r=\"0.34\" g=\"0.38\" b=\"0.30\"/>\n  </config>\n"
           << "  <custom>\n    <sceneName value=\"second\"/>\n";
    Track tunnel;
    for (int k = 0; k <= 12; ++k) {
        const float f = k / 12.0f;
        const float depth = std::min(f * 3.0f, 1.0f);
        tunnel.keys.push_back({f * 60.0f, HOLE + Vector3(0, -150 - 900 * depth, 0) -
                                               VIEW_DIR * (2600.0f * std::max(0.0f, f - 0.2f)) +
                                               SIDE_DIR * (500.0f * std::sin(f * 4.0f))});
    }
    second << track("CameraTunnelTrack", 60, tunnel) << "  </custom>\n</scene>\n";
    std::ofstream(out.path("scenes/second_scene.xml")) << second.str();
}

int main(int argc, char** argv) { return MediaGen::runGenerator(argc, argv, generate); }
