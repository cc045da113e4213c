#include "scene/TriangleBvh.h"

#include <algorithm>
#include <limits>

namespace {

using Vec = TriangleBvh::Vec;

Vec vec(const Ogre::Vector3& v) { return {v.x, v.y, v.z}; }
Vec sub(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(const Vec& a) { return std::sqrt(dot(a, a)); }

}  // namespace

TriangleBvh::TriangleBvh(MeshData mesh) : data(std::move(mesh)) {
    const size_t vertexCount = data.vertices.size();
    for (const auto& v : data.vertices) maxRadius = std::max(maxRadius, length(vec(v)));
    const size_t triangleCount = data.indices.size() / 3;
    order.reserve(triangleCount);
    for (size_t t = 0; t < triangleCount; ++t) {
        const Ogre::uint32* i = &data.indices[t * 3];
        if (i[0] < vertexCount && i[1] < vertexCount && i[2] < vertexCount)
            order.push_back(static_cast<std::uint32_t>(t));
    }
    if (order.empty()) return;
    centres.resize(triangleCount);
    for (std::uint32_t t : order) {
        const Ogre::uint32* i = &data.indices[t * 3];
        centres[t] = (data.vertices[i[0]] + data.vertices[i[1]] + data.vertices[i[2]]) / 3.0f;
    }
    nodes.reserve(2 * order.size() / LEAF_SIZE + 2);
    nodes.push_back({});
    build(0, 0, static_cast<std::uint32_t>(order.size()), 0);
    centres.clear();
    centres.shrink_to_fit();

    triangles.reserve(order.size());
    for (std::uint32_t t : order) {
        const Ogre::uint32* i = &data.indices[t * 3];
        const Ogre::Vector3& a = data.vertices[i[0]];
        const Vec e1 = sub(vec(data.vertices[i[1]]), vec(a));
        const Vec e2 = sub(vec(data.vertices[i[2]]), vec(a));
        const Vec e3 = sub(e2, e1);
        const double twiceArea = length(cross(e1, e2));
        // 4 |n| / smallest height, and the smallest height is |n| over the
        // longest edge.
        const double slack = 4 * std::max({length(e1), length(e2), length(e3)});
        Triangle record{};
        record.v0[0] = a.x, record.v0[1] = a.y, record.v0[2] = a.z;
        record.e1[0] = float(e1.x), record.e1[1] = float(e1.y), record.e1[2] = float(e1.z);
        record.e2[0] = float(e2.x), record.e2[1] = float(e2.y), record.e2[2] = float(e2.z);
        record.normalLength = float(twiceArea);
        record.slack = float(slack);
        record.number = t;
        triangles.push_back(record);
    }
}

void TriangleBvh::build(std::uint32_t index, std::uint32_t first, std::uint32_t count, int depth) {
    float lo[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                   std::numeric_limits<float>::max()};
    float hi[3] = {-lo[0], -lo[1], -lo[2]};
    Ogre::Vector3 centreLo(lo[0], lo[1], lo[2]);
    Ogre::Vector3 centreHi(hi[0], hi[1], hi[2]);
    for (std::uint32_t k = first; k < first + count; ++k) {
        const Ogre::uint32* i = &data.indices[order[k] * 3];
        for (int corner = 0; corner < 3; ++corner) {
            const Ogre::Vector3& v = data.vertices[i[corner]];
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], v[a]);
                hi[a] = std::max(hi[a], v[a]);
            }
        }
        centreLo.makeFloor(centres[order[k]]);
        centreHi.makeCeil(centres[order[k]]);
    }
    Node node{};
    std::copy(lo, lo + 3, node.lo);
    std::copy(hi, hi + 3, node.hi);
    if (count <= LEAF_SIZE || depth >= MAX_DEPTH) {
        node.first = first;
        node.count = count;
        nodes[index] = node;
        return;
    }
    // Split at the median centre along the widest axis of the centres.
    const Ogre::Vector3 extent = centreHi - centreLo;
    const int split =
        extent.x >= extent.y && extent.x >= extent.z ? 0 : (extent.y >= extent.z ? 1 : 2);
    const std::uint32_t half = count / 2;
    std::nth_element(
        order.begin() + first, order.begin() + first + half, order.begin() + first + count,
        [&](std::uint32_t a, std::uint32_t b) { return centres[a][split] < centres[b][split]; });
    // Children sit side by side: left at node.first, right right after it.
    const auto children = static_cast<std::uint32_t>(nodes.size());
    nodes.push_back({});
    nodes.push_back({});
    node.first = children;
    node.count = 0;
    nodes[index] = node;
    build(children, first, half, depth + 1);
    build(children + 1, first + half, count - half, depth + 1);
}

double TriangleBvh::enter(const Node& node, const Vec& o, const Vec& inverse, double pad,
                          double bound) {
    // Slabs without branches; a zero direction component has a huge finite
    // inverse instead of an infinite one, so no 0 * inf NaN can appear.
    double t0 = (node.lo[0] - pad - o.x) * inverse.x;
    double t1 = (node.hi[0] + pad - o.x) * inverse.x;
    double near = std::max(0.0, std::min(t0, t1));
    double far = std::min(bound, std::max(t0, t1));
    t0 = (node.lo[1] - pad - o.y) * inverse.y;
    t1 = (node.hi[1] + pad - o.y) * inverse.y;
    near = std::max(near, std::min(t0, t1));
    far = std::min(far, std::max(t0, t1));
    t0 = (node.lo[2] - pad - o.z) * inverse.z;
    t1 = (node.hi[2] + pad - o.z) * inverse.z;
    near = std::max(near, std::min(t0, t1));
    far = std::min(far, std::max(t0, t1));
    return near <= far ? near : -1;
}

bool TriangleBvh::mayHit(const Triangle& tri, const Vec& o, const Vec& d, double dLength,
                         double pad, double frontSign, double bound) {
    if (tri.normalLength == 0) return false;  // the exact test rejects degenerate triangles too
    const Vec e1{tri.e1[0], tri.e1[1], tri.e1[2]};
    const Vec e2{tri.e2[0], tri.e2[1], tri.e2[2]};
    // Moller-Trumbore without the divisions: det = -(n . d) for the normal
    // n = e1 x e2, U and V the barycentric coordinates times det.
    const Vec p = cross(d, e2);
    const double det = dot(e1, p);
    const double scale = tri.normalLength * dLength;
    // Clearly seen from the back: the exact test counts front sides only.
    if (frontSign * det < -1e-6 * scale) return false;
    // Moving the vertices by pad shifts the hit within the plane by up to
    // pad / cos(angle to the normal); over the smallest height that bounds
    // the change of a barycentric coordinate. Times |det| it is this:
    const double tolerance = pad * dLength * tri.slack;
    const double sign = det < 0 ? -1 : 1;
    const Vec s{o.x - tri.v0[0], o.y - tri.v0[1], o.z - tri.v0[2]};
    const double u = sign * dot(s, p);
    if (u < -tolerance) return false;
    const Vec q = cross(s, e1);
    const double v = sign * dot(d, q);
    const double absDet = std::fabs(det);
    if (v < -tolerance || u + v > absDet + tolerance) return false;
    if (absDet <= 1e-12 * scale)
        return true;  // grazing: no usable distance, the exact test decides
    const double t = dot(e2, q) / det;
    const double margin = pad * tri.normalLength / absDet + 1e-6 * std::fabs(t);
    return t + margin >= 0 && t - margin <= bound;
}
