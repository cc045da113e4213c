#include "mediagen/MeshData.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <tuple>

namespace MediaGen {

namespace {
constexpr float TWO_PI = 6.28318530718f;
}

std::uint32_t MeshData::addVertex(const Ogre::Vector3& position, const Ogre::Vector3& normal,
                                  const Ogre::Vector2& uv) {
    MeshVertex v;
    v.position = position;
    v.normal = normal;
    v.uv = uv;
    vertices.push_back(v);
    return std::uint32_t(vertices.size() - 1);
}

MeshPart& MeshData::part(const std::string& material) {
    for (auto& p : parts)
        if (p.material == material) return p;
    parts.push_back(MeshPart{material, {}});
    return parts.back();
}

void MeshData::addTriangle(const std::string& material, std::uint32_t a, std::uint32_t b,
                           std::uint32_t c) {
    MeshPart& p = part(material);
    if (p.points) throw std::logic_error("addTriangle: " + material + " draws points");
    p.indices.insert(p.indices.end(), {a, b, c});
}

void MeshData::addPoint(const std::string& material, std::uint32_t a) {
    MeshPart& p = part(material);
    if (!p.points && !p.indices.empty()) throw std::logic_error("addPoint: " + material + " already draws triangles");
    p.points = true;
    p.indices.push_back(a);
}

void MeshData::addQuad(const std::string& material, std::uint32_t a, std::uint32_t b,
                       std::uint32_t c, std::uint32_t d) {
    addTriangle(material, a, b, c);
    addTriangle(material, a, c, d);
}

void MeshData::computeNormals(bool mergeByPosition) {
    std::vector<Ogre::Vector3> acc(vertices.size(), Ogre::Vector3::ZERO);
    // Vertices at the same position accumulate into one slot.
    std::vector<std::uint32_t> slot(vertices.size());
    if (mergeByPosition) {
        std::map<std::tuple<float, float, float>, std::uint32_t> first;
        for (std::uint32_t i = 0; i < vertices.size(); ++i) {
            const auto& p = vertices[i].position;
            slot[i] = first.emplace(std::make_tuple(p.x, p.y, p.z), i).first->second;
        }
    } else {
        for (std::uint32_t i = 0; i < vertices.size(); ++i) slot[i] = i;
    }
    for (const auto& p : parts)
        for (std::size_t t = 0; t + 2 < p.indices.size(); t += 3) {
            const auto a = p.indices[t], b = p.indices[t + 1], c = p.indices[t + 2];
            // The cross product's length is twice the area: area weighting.
            const Ogre::Vector3 n = (vertices[b].position - vertices[a].position)
                                        .crossProduct(vertices[c].position - vertices[a].position);
            acc[slot[a]] += n;
            acc[slot[b]] += n;
            acc[slot[c]] += n;
        }
    for (std::uint32_t i = 0; i < vertices.size(); ++i) {
        Ogre::Vector3 n = acc[slot[i]];
        vertices[i].normal = n.squaredLength() > 0 ? n.normalisedCopy() : Ogre::Vector3::UNIT_Y;
    }
}

void MeshData::makeFlat() {
    std::vector<MeshVertex> flat;
    std::vector<MeshBoneWeight> weights;
    for (auto& p : parts) {
        std::vector<std::uint32_t> idx;
        for (std::size_t t = 0; t + 2 < p.indices.size(); t += 3) {
            MeshVertex v[3] = {vertices[p.indices[t]], vertices[p.indices[t + 1]],
                               vertices[p.indices[t + 2]]};
            Ogre::Vector3 n = (v[1].position - v[0].position)
                                  .crossProduct(v[2].position - v[0].position);
            n = n.squaredLength() > 0 ? n.normalisedCopy() : Ogre::Vector3::UNIT_Y;
            for (int k = 0; k < 3; ++k) {
                v[k].normal = n;
                for (const auto& w : boneWeights)
                    if (w.vertex == p.indices[t + k])
                        weights.push_back({std::uint32_t(flat.size()), w.bone, w.weight});
                idx.push_back(std::uint32_t(flat.size()));
                flat.push_back(v[k]);
            }
        }
        p.indices = std::move(idx);
    }
    vertices = std::move(flat);
    boneWeights = std::move(weights);
}

void MeshData::displace(const std::function<Ogre::Vector3(const Ogre::Vector3&)>& f) {
    for (auto& v : vertices) v.position += f(v.position);
}

void MeshData::transform(const Ogre::Matrix4& m) {
    const Ogre::Matrix3 normalMatrix = m.linear().Inverse().Transpose();
    for (auto& v : vertices) {
        v.position = m * v.position;
        Ogre::Vector3 n = normalMatrix * v.normal;
        v.normal = n.squaredLength() > 0 ? n.normalisedCopy() : v.normal;
    }
}

void MeshData::append(const MeshData& other, const Ogre::Matrix4& m) {
    const std::uint32_t base = std::uint32_t(vertices.size());
    MeshData copy = other;
    copy.transform(m);
    vertices.insert(vertices.end(), copy.vertices.begin(), copy.vertices.end());
    for (const auto& p : copy.parts) {
        auto& idx = part(p.material).indices;
        for (auto i : p.indices) idx.push_back(base + i);
    }
    for (auto w : copy.boneWeights) {
        w.vertex += base;
        boneWeights.push_back(w);
    }
    hasColours = hasColours || other.hasColours;
}

void MeshData::assignBone(std::uint32_t vertex, std::uint16_t bone, float weight) {
    boneWeights.push_back({vertex, bone, weight});
}

void MeshData::assignBoneFrom(std::uint32_t first, std::uint16_t bone) {
    for (std::uint32_t v = first; v < vertices.size(); ++v) boneWeights.push_back({v, bone, 1.0f});
}

Ogre::Vector3 MeshData::boundsMin() const {
    if (vertices.empty()) return Ogre::Vector3::ZERO;
    Ogre::Vector3 lo = vertices.front().position;
    for (const auto& v : vertices) lo.makeFloor(v.position);
    return lo;
}

Ogre::Vector3 MeshData::boundsMax() const {
    if (vertices.empty()) return Ogre::Vector3::ZERO;
    Ogre::Vector3 hi = vertices.front().position;
    for (const auto& v : vertices) hi.makeCeil(v.position);
    return hi;
}

float MeshData::boundingRadius() const {
    float r2 = 0;
    for (const auto& v : vertices) r2 = std::max(r2, v.position.squaredLength());
    return std::sqrt(r2);
}

std::size_t MeshData::triangleCount() const {
    std::size_t n = 0;
    for (const auto& p : parts)
        if (!p.points) n += p.indices.size() / 3;
    return n;
}

MeshData MeshData::uvSphere(float radius, int segments, int rings, const std::string& material) {
    if (radius <= 0 || segments < 3 || rings < 2)
        throw std::invalid_argument("uvSphere: radius > 0, segments >= 3, rings >= 2");
    MeshData m;
    for (int r = 0; r <= rings; ++r) {
        const float v = float(r) / rings;
        const float phi = v * TWO_PI / 2;  // 0 at the north pole
        for (int s = 0; s <= segments; ++s) {
            const float u = float(s) / segments;
            const float theta = u * TWO_PI;
            const Ogre::Vector3 n(std::sin(phi) * std::sin(theta), std::cos(phi),
                                  std::sin(phi) * std::cos(theta));
            m.addVertex(n * radius, n, Ogre::Vector2(u, v));
        }
    }
    const int row = segments + 1;
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            const std::uint32_t a = r * row + s, b = a + row, c = b + 1, d = a + 1;
            if (r != 0) m.addTriangle(material, a, b, d);
            if (r != rings - 1) m.addTriangle(material, d, b, c);
        }
    return m;
}

MeshData MeshData::box(const Ogre::Vector3& h, const std::string& material) {
    MeshData m;
    // Each face: normal, then the two in-plane axes (u, v) with u x v = normal.
    const Ogre::Vector3 axes[6][3] = {
        {Ogre::Vector3::UNIT_X, Ogre::Vector3::NEGATIVE_UNIT_Z, Ogre::Vector3::UNIT_Y},
        {Ogre::Vector3::NEGATIVE_UNIT_X, Ogre::Vector3::UNIT_Z, Ogre::Vector3::UNIT_Y},
        {Ogre::Vector3::UNIT_Y, Ogre::Vector3::UNIT_X, Ogre::Vector3::NEGATIVE_UNIT_Z},
        {Ogre::Vector3::NEGATIVE_UNIT_Y, Ogre::Vector3::UNIT_X, Ogre::Vector3::UNIT_Z},
        {Ogre::Vector3::UNIT_Z, Ogre::Vector3::UNIT_X, Ogre::Vector3::UNIT_Y},
        {Ogre::Vector3::NEGATIVE_UNIT_Z, Ogre::Vector3::NEGATIVE_UNIT_X, Ogre::Vector3::UNIT_Y}};
    for (const auto& f : axes) {
        const Ogre::Vector3 n = f[0], u = f[1], v = f[2];
        const Ogre::Vector3 c = n * h;
        const Ogre::Vector3 du = u * h, dv = v * h;
        const auto a = m.addVertex(c - du - dv, n, {0, 1});
        const auto b = m.addVertex(c + du - dv, n, {1, 1});
        const auto cc = m.addVertex(c + du + dv, n, {1, 0});
        const auto d = m.addVertex(c - du + dv, n, {0, 0});
        m.addQuad(material, a, b, cc, d);
    }
    return m;
}

MeshData MeshData::cylinder(float r0, float r1, float height, int segments,
                            const std::string& material, bool caps) {
    MeshData m = lathe({{r0, 0}, {r1, height}}, segments, material);
    if (caps) {
        for (int end = 0; end < 2; ++end) {
            const float r = end ? r1 : r0;
            if (r <= 0) continue;
            const float y = end ? height : 0;
            const Ogre::Vector3 n = end ? Ogre::Vector3::UNIT_Y : Ogre::Vector3::NEGATIVE_UNIT_Y;
            const auto centre = m.addVertex({0, y, 0}, n, {0.5f, 0.5f});
            const std::uint32_t first = std::uint32_t(m.vertices.size());
            for (int s = 0; s <= segments; ++s) {
                const float a = TWO_PI * s / segments;
                m.addVertex({r * std::sin(a), y, r * std::cos(a)}, n,
                            {0.5f + 0.5f * std::sin(a), 0.5f + 0.5f * std::cos(a)});
            }
            for (int s = 0; s < segments; ++s) {
                if (end)
                    m.addTriangle(material, centre, first + s, first + s + 1);
                else
                    m.addTriangle(material, centre, first + s + 1, first + s);
            }
        }
    }
    return m;
}

MeshData MeshData::grid(float width, float depth, int nx, int nz, const std::string& material,
                        float uvRepeat) {
    if (nx < 1 || nz < 1) throw std::invalid_argument("grid: nx, nz >= 1");
    MeshData m;
    for (int j = 0; j <= nz; ++j)
        for (int i = 0; i <= nx; ++i) {
            const float u = float(i) / nx, v = float(j) / nz;
            m.addVertex({(u - 0.5f) * width, 0, (v - 0.5f) * depth}, Ogre::Vector3::UNIT_Y,
                        {u * uvRepeat, v * uvRepeat});
        }
    const int row = nx + 1;
    for (int j = 0; j < nz; ++j)
        for (int i = 0; i < nx; ++i) {
            const std::uint32_t a = j * row + i;
            m.addQuad(material, a, a + row, a + row + 1, a + 1);
        }
    return m;
}

MeshData MeshData::lathe(const std::vector<Ogre::Vector2>& profile, int segments,
                         const std::string& material) {
    if (profile.size() < 2 || segments < 3)
        throw std::invalid_argument("lathe: two profile points and three segments at least");
    MeshData m;
    const int rows = int(profile.size());
    for (int r = 0; r < rows; ++r)
        for (int s = 0; s <= segments; ++s) {
            const float a = TWO_PI * s / segments;
            const float radius = profile[r].x;
            m.addVertex({radius * std::sin(a), profile[r].y, radius * std::cos(a)},
                        Ogre::Vector3::ZERO, {float(s) / segments, 1.0f - float(r) / (rows - 1)});
        }
    const int row = segments + 1;
    for (int r = 0; r + 1 < rows; ++r)
        for (int s = 0; s < segments; ++s) {
            const std::uint32_t a = r * row + s;
            m.addQuad(material, a, a + 1, a + row + 1, a + row);
        }
    m.computeNormals();
    return m;
}

}  // namespace MediaGen
