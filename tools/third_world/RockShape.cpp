#include "RockShape.h"

#include <algorithm>
#include <cmath>

namespace ThirdWorld {

namespace {

double smoothstep(double lo, double hi, double x) {
    const double t = std::clamp((x - lo) / (hi - lo), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double segmentDistance(const Ogre::Vector3& p, const Ogre::Vector3& a, const Ogre::Vector3& b) {
    const Ogre::Vector3 ab = b - a;
    const double t = std::clamp(double((p - a).dotProduct(ab) / ab.squaredLength()), 0.0, 1.0);
    return (p - (a + ab * Ogre::Real(t))).length();
}

}  // namespace

Ogre::Vector3 randomDirection(MediaGen::Random& random) {
    const double z = random.range(-1.0, 1.0);
    const double a = random.range(0.0, 2.0 * M_PI);
    const double r = std::sqrt(1.0 - z * z);
    return Ogre::Vector3(Ogre::Real(r * std::cos(a)), Ogre::Real(r * std::sin(a)), Ogre::Real(z));
}

RockShape::RockShape(const RockParams& params)
    : par(params), shapeNoise(params.seed * 7919 + 1), mossNoise(params.seed * 104729 + 3) {
    MediaGen::Random random(par.seed);
    const double r = par.radius;
    if (par.form == RockForm::CrystalCluster) {
        // A glowing cluster: spikes all around a small core.
        addSpikes(random, Ogre::Vector3::ZERO, Ogre::Vector3::ZERO, 26, r);
        extentHalf = r * 1.35;
        return;
    }
    for (int i = 0, tries = 0; i < par.craters && tries < 200; ++tries) {
        const Ogre::Vector3 dir = randomDirection(random);
        const double cr = r * random.range(0.14, 0.34);
        if (!clearOf(dir, 25)) continue;
        craters.push_back({dir * Ogre::Real(baseRadius(dir) + 0.5 * cr), cr});
        ++i;
    }
    for (int i = 0, tries = 0; i < par.crystalPatches && tries < 200; ++tries) {
        const Ogre::Vector3 dir = randomDirection(random);
        if (!clearOf(dir, 35)) continue;
        // Sink the roots a little so the spikes grow out of the rock.
        addSpikes(random, dir * Ogre::Real(baseRadius(dir) * 0.96), dir, 3 + int(random.next() % 4), r);
        ++i;
    }
    if (par.padRadius > 0) padHeight = baseRadius(par.keepClear.normalisedCopy());
    const double reach = par.form == RockForm::Ring ? r + par.ringMinor * 1.5
                                                    : r * std::max({par.squash.x, par.squash.y, par.squash.z}) * 1.45;
    extentHalf = reach + r * 0.1;
}

bool RockShape::clearOf(const Ogre::Vector3& direction, double marginDegrees) const {
    if (par.keepClear == Ogre::Vector3::ZERO) return true;
    const double cosLimit = std::cos((par.clearAngle + marginDegrees) * M_PI / 180.0);
    return direction.dotProduct(par.keepClear.normalisedCopy()) < cosLimit;
}

void RockShape::addSpikes(MediaGen::Random& random, const Ogre::Vector3& root, const Ogre::Vector3& out, int count,
                          double scale) {
    for (int i = 0; i < count; ++i) {
        Ogre::Vector3 axis = out == Ogre::Vector3::ZERO ? randomDirection(random)
                                                         : (out + randomDirection(random) * 0.5f).normalisedCopy();
        const double hl = scale * (out == Ogre::Vector3::ZERO ? random.range(0.55, 0.95) : random.range(0.16, 0.32));
        const double hw = hl * random.range(0.2, 0.32);
        Spike s;
        s.axis = axis;
        s.side = axis.perpendicular().normalisedCopy();
        s.up = axis.crossProduct(s.side).normalisedCopy();
        s.centre = root + axis * Ogre::Real(hl * 0.45);
        s.halfLength = hl;
        s.halfWidth = hw;
        spikes.push_back(s);
    }
}

double RockShape::baseField(const Ogre::Vector3& p) const {
    const double r = par.radius;
    const Ogre::Vector3 n = p * Ogre::Real(1.6 / r);
    // fbm is normalised to about [-1, 1]; its typical swing is half that.
    const double bumps = par.roughness * 1.5 * shapeNoise.fbm(n.x, n.y, n.z, 4) +
                         0.012 * shapeNoise.at(n.x * 5.3f + 17, n.y * 5.3f, n.z * 5.3f);
    if (par.form == RockForm::Ring) {
        // Torus around the Z axis: the ring faces +Z.
        const double q = std::sqrt(double(p.x) * p.x + double(p.y) * p.y) - r;
        return std::sqrt(q * q + double(p.z) * p.z) - par.ringMinor * (1 + 1.8 * bumps);
    }
    const Ogre::Vector3 q(p.x / par.squash.x, p.y / par.squash.y, p.z / par.squash.z);
    const double minSquash = std::min({par.squash.x, par.squash.y, par.squash.z});
    return (q.length() - r * (1 + bumps)) * minSquash;
}

double RockShape::baseRadius(const Ogre::Vector3& direction) const {
    double lo = 0, hi = par.radius * 3;
    for (int i = 0; i < 40; ++i) {
        const double mid = 0.5 * (lo + hi);
        (baseField(direction * Ogre::Real(mid)) < 0 ? lo : hi) = mid;
    }
    return lo;
}

double RockShape::rockField(const Ogre::Vector3& p) const {
    if (par.form == RockForm::CrystalCluster) return 1e30;
    double f = baseField(p);
    if (par.padRadius > 0) {
        const Ogre::Vector3 axis = par.keepClear.normalisedCopy();
        const Ogre::Vector3 offset = p - axis * Ogre::Real(padHeight);
        const double height = offset.dotProduct(axis);
        const double lateral = (offset - axis * Ogre::Real(height)).length();
        const double w = (1 - smoothstep(0.6 * par.padRadius, par.padRadius, lateral)) *
                         (1 - smoothstep(0.5 * par.padRadius, par.padRadius, std::abs(height)));
        f = f * (1 - w) + height * w;
    }
    for (const Crater& c : craters) {
        const double d = (p - c.centre).length() - c.radius;
        const double w = 0.3 * c.radius;
        f -= 0.1 * c.radius * std::exp(-(d * d) / (w * w));  // raised rim
        f = std::max(f, -d);
    }
    return f;
}

double RockShape::crystalField(const Ogre::Vector3& p) const {
    double f = 1e30;
    for (const Spike& s : spikes) {
        const Ogre::Vector3 d = p - s.centre;
        const double a = std::abs(d.dotProduct(s.side)) / s.halfWidth;
        const double b = std::abs(d.dotProduct(s.up)) / s.halfWidth;
        const double c = std::abs(d.dotProduct(s.axis)) / s.halfLength;
        f = std::min(f, (a + b + c - 1) * s.halfWidth * 0.577);
    }
    if (par.form == RockForm::CrystalCluster) f = std::min(f, p.length() - par.radius * 0.3);
    return f;
}

double RockShape::carve(const Ogre::Vector3& p, double field) const {
    for (const Tunnel& t : par.tunnels) field = std::max(field, t.radius - segmentDistance(p, t.a, t.b));
    return field;
}

double RockShape::distance(const Ogre::Vector3& p) const {
    return carve(p, std::min(rockField(p), crystalField(p)));
}

bool RockShape::solidUnbored(const Ogre::Vector3& p) const {
    return std::min(rockField(p), crystalField(p)) < 0;
}

bool RockShape::isCrystal(const Ogre::Vector3& p) const { return crystalField(p) < rockField(p); }

Ogre::Vector3 RockShape::normal(const Ogre::Vector3& p) const {
    const Ogre::Real h = Ogre::Real(par.radius * 0.004);
    const Ogre::Vector3 g(Ogre::Real(distance(p + Ogre::Vector3(h, 0, 0)) - distance(p - Ogre::Vector3(h, 0, 0))),
                          Ogre::Real(distance(p + Ogre::Vector3(0, h, 0)) - distance(p - Ogre::Vector3(0, h, 0))),
                          Ogre::Real(distance(p + Ogre::Vector3(0, 0, h)) - distance(p - Ogre::Vector3(0, 0, h))));
    return g.isZeroLength() ? p.normalisedCopy() : g.normalisedCopy();
}

double RockShape::moss(const Ogre::Vector3& p) const {
    const Ogre::Vector3 q = p * Ogre::Real(2.4 / par.radius);
    const double n = 1.5 * mossNoise.fbm(q.x, q.y, q.z, 3);
    return smoothstep(-0.05, 0.3, n + par.mossiness);
}

double RockShape::openness(const Ogre::Vector3& p, const Ogre::Vector3& n) const {
    const double h = par.radius * 0.12;
    return std::clamp(distance(p + n * Ogre::Real(h)) / h, 0.0, 1.0);
}

double RockShape::surfaceRadius(const Ogre::Vector3& direction) const {
    // March inwards from outside the rock to the first crossing, then bisect.
    const Ogre::Vector3 d = direction.normalisedCopy();
    const double step = par.radius * 0.01;
    double outer = extentHalf * 1.8, inner = outer;
    while (inner > 0 && distance(d * Ogre::Real(inner)) > 0) inner -= step;
    if (inner <= 0) return 0;
    outer = inner + step;
    for (int i = 0; i < 40; ++i) {
        const double mid = 0.5 * (inner + outer);
        (distance(d * Ogre::Real(mid)) < 0 ? inner : outer) = mid;
    }
    return inner;
}

}  // namespace ThirdWorld
