#ifndef MOSSDEN_SCENE_TRIANGLEBVH_H
#define MOSSDEN_SCENE_TRIANGLEBVH_H

// A mesh's triangles in model space with a bounding-volume hierarchy, for
// finding the few triangles a ray can hit. The test is deliberately loose:
// it answers "could this ray hit this triangle, were every vertex moved by
// up to pad?", so that an exact test done elsewhere (in world space, with
// the engine's own ray-triangle test) sees every triangle it would accept.
#include <OgreVector.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "scene/Helpers.h"

class TriangleBvh {
public:
    struct Vec {
        double x, y, z;
    };

    // Triangles with an index outside the vertices are left out.
    explicit TriangleBvh(MeshData mesh);

    const MeshData& mesh() const { return data; }
    // Largest distance of a vertex from the model origin.
    double radius() const { return maxRadius; }
    size_t candidateCount() const { return order.size(); }

    // Calls visit(triangle, bound) for every triangle (numbered by its first
    // index / 3) that the ray origin + t * direction, t in [0, bound], may
    // hit within pad; visit returns the bound to go on with (a hit found
    // shrinks it). Nearer boxes are visited first. frontSign is +1 when the
    // front side of a triangle is the one its (b - a) x (c - a) points to,
    // -1 when a mirroring transform swaps the sides; triangles clearly seen
    // from the back are skipped.
    template <class Visit>
    void forEachCandidate(const Vec& origin, const Vec& direction, double pad, double frontSign,
                          double bound, Visit&& visit) const;

private:
    struct Node {
        float lo[3], hi[3];
        std::uint32_t first;  // leaf: first entry of order; inner: index of the left child
        std::uint32_t count;  // leaf: number of triangles; 0 for inner nodes
    };

    // Triangle records in leaf order: one vertex and the two edges from
    // it, |e1 x e2|, and the factor that turns pad * |direction| into a
    // tolerance on the barycentric coordinates times |det| (4 |n| / the
    // smallest height of the triangle, which is 4 x its longest edge).
    struct Triangle {
        float v0[3], e1[3], e2[3];
        float normalLength;
        float slack;
        std::uint32_t number;
    };

    // Fills nodes[index] with the triangles order[first, first + count).
    void build(std::uint32_t index, std::uint32_t first, std::uint32_t count, int depth);
    // Entry distance of the ray into the node's box grown by pad, or a
    // negative value when it misses (or enters beyond bound).
    static double enter(const Node& node, const Vec& o, const Vec& inverse, double pad,
                        double bound);
    static bool mayHit(const Triangle& triangle, const Vec& o, const Vec& d, double dLength,
                       double pad, double frontSign, double bound);

    MeshData data;
    std::vector<std::uint32_t> order;    // triangle numbers, grouped by leaf
    std::vector<Triangle> triangles;     // the same order
    std::vector<Node> nodes;             // nodes[0] is the root
    std::vector<Ogre::Vector3> centres;  // triangle centres, while building
    double maxRadius = 0;

    static constexpr int MAX_DEPTH = 48;  // median splits halve: 2^48 triangles
    static constexpr std::uint32_t LEAF_SIZE = 8;
};

template <class Visit>
void TriangleBvh::forEachCandidate(const Vec& origin, const Vec& direction, double pad,
                                   double frontSign, double bound, Visit&& visit) const {
    if (nodes.empty()) return;
    const double dLength = std::sqrt(direction.x * direction.x + direction.y * direction.y +
                                     direction.z * direction.z);
    if (!(dLength > 0)) return;
    auto invert = [](double x) { return x != 0 ? 1 / x : 1e300; };
    const Vec inverse{invert(direction.x), invert(direction.y), invert(direction.z)};
    // Boxes are pruned a little later than the bound says: the exact test
    // measures in world space, where rounding differs.
    auto slack = [&](double b) { return b + 1e-6 * std::fabs(b) + 4 * pad / dLength; };
    std::array<std::pair<std::uint32_t, double>, MAX_DEPTH + 2> stack;
    size_t top = 0;
    const double rootEntry = enter(nodes[0], origin, inverse, pad, slack(bound));
    if (rootEntry < 0) return;
    stack[top++] = {0, rootEntry};
    while (top > 0) {
        const auto [index, entry] = stack[--top];
        if (entry > slack(bound)) continue;
        const Node& node = nodes[index];
        if (node.count > 0) {
            for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
                if (mayHit(triangles[i], origin, direction, dLength, pad, frontSign, bound))
                    bound = visit(triangles[i].number, bound);
            }
            continue;
        }
        const double left = enter(nodes[node.first], origin, inverse, pad, slack(bound));
        const double right = enter(nodes[node.first + 1], origin, inverse, pad, slack(bound));
        // Push the farther child first so the nearer one is visited next.
        if (left >= 0 && right >= 0) {
            const bool leftFirst = left <= right;
            stack[top++] = {leftFirst ? node.first + 1 : node.first, leftFirst ? right : left};
            stack[top++] = {leftFirst ? node.first : node.first + 1, leftFirst ? left : right};
        } else if (left >= 0) {
            stack[top++] = {node.first, left};
        } else if (right >= 0) {
            stack[top++] = {node.first + 1, right};
        }
    }
}

#endif
