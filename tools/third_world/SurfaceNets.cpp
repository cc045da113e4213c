#include "SurfaceNets.h"

#include <algorithm>
#include <array>

namespace ThirdWorld {

Surface polygonise(const std::function<double(const Ogre::Vector3&)>& field, double halfSize, int cells) {
    const int n = cells, s = cells + 1;
    const double step = 2 * halfSize / n;
    auto point = [&](double i, double j, double k) {
        return Ogre::Vector3(Ogre::Real(-halfSize + i * step), Ogre::Real(-halfSize + j * step),
                             Ogre::Real(-halfSize + k * step));
    };
    auto sampleIndex = [s](int i, int j, int k) { return i + s * (j + s * k); };
    auto cellIndex = [n](int i, int j, int k) { return i + n * (j + n * k); };

    std::vector<double> values(std::size_t(s) * s * s);
    for (int k = 0; k < s; ++k)
        for (int j = 0; j < s; ++j)
            for (int i = 0; i < s; ++i) {
                const bool border = i == 0 || j == 0 || k == 0 || i == n || j == n || k == n;
                values[sampleIndex(i, j, k)] = border ? 1.0 : field(point(i, j, k));
            }

    static const std::array<std::array<int, 3>, 8> corner = {
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}}};
    static const std::array<std::array<int, 2>, 12> edge = {
        {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3}, {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}}};

    Surface out;
    std::vector<std::int32_t> vertexOf(std::size_t(n) * n * n, -1);
    for (int k = 0; k < n; ++k)
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                std::array<double, 8> v;
                int inside = 0;
                for (int c = 0; c < 8; ++c) {
                    v[c] = values[sampleIndex(i + corner[c][0], j + corner[c][1], k + corner[c][2])];
                    inside += v[c] < 0;
                }
                if (inside == 0 || inside == 8) continue;
                // Mean of the edge crossings, then one step along the field's
                // gradient onto the surface, kept near the cell.
                Ogre::Vector3 sum = Ogre::Vector3::ZERO;
                int count = 0;
                for (const auto& e : edge) {
                    const double a = v[e[0]], b = v[e[1]];
                    if ((a < 0) == (b < 0)) continue;
                    const double t = a / (a - b);
                    const auto& ca = corner[e[0]];
                    const auto& cb = corner[e[1]];
                    sum += point(i + ca[0] + t * (cb[0] - ca[0]), j + ca[1] + t * (cb[1] - ca[1]),
                                 k + ca[2] + t * (cb[2] - ca[2]));
                    ++count;
                }
                Ogre::Vector3 p = sum / Ogre::Real(count);
                const Ogre::Real h = Ogre::Real(step * 0.05);
                const double f = field(p);
                const Ogre::Vector3 g(Ogre::Real(field(p + Ogre::Vector3(h, 0, 0)) - f),
                                      Ogre::Real(field(p + Ogre::Vector3(0, h, 0)) - f),
                                      Ogre::Real(field(p + Ogre::Vector3(0, 0, h)) - f));
                if (g.squaredLength() > 0) {
                    Ogre::Vector3 moved = p - g * Ogre::Real(f * h / g.squaredLength());
                    const Ogre::Vector3 lo = point(i - 0.25, j - 0.25, k - 0.25);
                    const Ogre::Vector3 hi = point(i + 1.25, j + 1.25, k + 1.25);
                    moved.makeCeil(lo);
                    moved.makeFloor(hi);
                    p = moved;
                }
                vertexOf[cellIndex(i, j, k)] = std::int32_t(out.positions.size());
                out.positions.push_back(p);
            }

    auto quad = [&](std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
        // Split along the shorter diagonal.
        const auto& P = out.positions;
        if ((P[a] - P[c]).squaredLength() <= (P[b] - P[d]).squaredLength())
            out.indices.insert(out.indices.end(), {std::uint32_t(a), std::uint32_t(b), std::uint32_t(c),
                                                   std::uint32_t(a), std::uint32_t(c), std::uint32_t(d)});
        else
            out.indices.insert(out.indices.end(), {std::uint32_t(b), std::uint32_t(c), std::uint32_t(d),
                                                   std::uint32_t(b), std::uint32_t(d), std::uint32_t(a)});
    };
    // Grid edges along axis a; b and c follow a cyclically, so (b, c) is a
    // right-handed pair seen from +a.
    for (int a = 0; a < 3; ++a) {
        const int b = (a + 1) % 3, c = (a + 2) % 3;
        for (int k = 1; k < n; ++k)
            for (int j = 1; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    std::array<int, 3> p0{}, p1{};
                    p0[a] = i;
                    p0[b] = j;
                    p0[c] = k;
                    p1 = p0;
                    p1[a] += 1;
                    const bool in0 = values[sampleIndex(p0[0], p0[1], p0[2])] < 0;
                    const bool in1 = values[sampleIndex(p1[0], p1[1], p1[2])] < 0;
                    if (in0 == in1) continue;
                    std::array<std::int32_t, 4> q{};
                    const int db[4] = {-1, 0, 0, -1}, dc[4] = {-1, -1, 0, 0};
                    for (int m = 0; m < 4; ++m) {
                        std::array<int, 3> cell = p0;
                        cell[b] += db[m];
                        cell[c] += dc[m];
                        q[m] = vertexOf[cellIndex(cell[0], cell[1], cell[2])];
                    }
                    if (in0)
                        quad(q[0], q[1], q[2], q[3]);
                    else
                        quad(q[0], q[3], q[2], q[1]);
                }
    }
    return out;
}

void relax(Surface& surface, const std::function<double(const Ogre::Vector3&)>& field, int iterations,
           double gradientStep) {
    const std::size_t n = surface.positions.size();
    std::vector<std::vector<std::uint32_t>> neighbours(n);
    for (std::size_t t = 0; t < surface.indices.size(); t += 3)
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = surface.indices[t + k], b = surface.indices[t + (k + 1) % 3];
            neighbours[a].push_back(b);
            neighbours[b].push_back(a);
        }
    for (auto& list : neighbours) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    const Ogre::Real h = Ogre::Real(gradientStep);
    std::vector<Ogre::Vector3> next(n);
    for (int it = 0; it < iterations; ++it) {
        for (std::size_t i = 0; i < n; ++i) {
            Ogre::Vector3 mean = Ogre::Vector3::ZERO;
            for (std::uint32_t j : neighbours[i]) mean += surface.positions[j];
            Ogre::Vector3 p = neighbours[i].empty() ? surface.positions[i]
                                                    : surface.positions[i] * 0.5f + mean * (0.5f / neighbours[i].size());
            const double f = field(p);
            const Ogre::Vector3 g(Ogre::Real(field(p + Ogre::Vector3(h, 0, 0)) - f),
                                  Ogre::Real(field(p + Ogre::Vector3(0, h, 0)) - f),
                                  Ogre::Real(field(p + Ogre::Vector3(0, 0, h)) - f));
            if (g.squaredLength() > 0) p -= g * Ogre::Real(f * h / g.squaredLength());
            next[i] = p;
        }
        surface.positions.swap(next);
    }
}

}  // namespace ThirdWorld
