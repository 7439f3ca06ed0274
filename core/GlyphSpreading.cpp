#include "core/GlyphSpreading.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace velmora {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Only so many neighbours along the circle are weighed against each other: beyond them an
// item's own neighbours already hold it further away.
constexpr int kReach = 4;

double radians(double degrees)
{
    return degrees * kPi / 180.0;
}

double normalised(double angle)
{
    double a = std::fmod(angle, 360.0);
    if (a < 0.0)
        a += 360.0;
    return a >= 360.0 ? 0.0 : a;
}

// An angle difference into (-180, 180].
double signedTurn(double angle)
{
    const double a = normalised(angle);
    return a > 180.0 ? a - 360.0 : a;
}

// The least length L >= 0 past which an interval [lo, hi] moved by L * t stays clear of
// [fixedLo, fixedHi] by `gap`.
double clearingLength(double t, double fixedLo, double fixedHi, double lo, double hi,
                      double gap)
{
    constexpr double kTiny = 1e-12;
    if (t > kTiny)
        return std::max(0.0, (fixedHi + gap - lo) / t);
    if (t < -kTiny)
        return std::max(0.0, (hi - fixedLo + gap) / -t);
    return lo >= fixedHi + gap || hi <= fixedLo - gap ? 0.0 : kInfinity;
}

// An angle by its sine and cosine.
struct Direction {
    double sin;
    double cos;
};

Direction directionOf(double degrees)
{
    return {std::sin(radians(degrees)), std::cos(radians(degrees))};
}

// The least angle (degrees) by which `b` must follow `a` round the circle for their boxes to
// clear, with the pair about the middle angle `middle` and `b` near the direction `atB`: none when they
// are clear at one angle (glyphs of different rings, a glyph inside a mark). A chord between
// two angles on a circle of radius R is 2R sin(d/2) long and runs along the tangent at their
// middle; b's own circle adds its radial difference.
double separation(const SpreadItem& a, const SpreadItem& b, Direction middle, Direction atB,
                  double gap)
{
    if (a.fixed && b.fixed)
        return 0.0;
    const double radius = std::max(a.radius, 1e-9);
    const double dr = b.radius - a.radius;
    const double offX = dr * atB.sin;
    const double offY = dr * atB.cos;
    const bool apartX = b.box.left + offX >= a.box.right + gap || b.box.right + offX <= a.box.left - gap;
    const bool apartY = b.box.top + offY >= a.box.bottom + gap || b.box.bottom + offY <= a.box.top - gap;
    if (apartX || apartY)
        return 0.0;
    const double tx = middle.cos;
    const double ty = -middle.sin;
    const double length =
        std::min(clearingLength(tx, a.box.left, a.box.right, b.box.left + offX,
                                b.box.right + offX, gap),
                 clearingLength(ty, a.box.top, a.box.bottom, b.box.top + offY,
                                b.box.bottom + offY, gap));
    if (length >= 2.0 * radius)
        return 180.0;
    return 2.0 * std::asin(length / (2.0 * radius)) * 180.0 / kPi;
}

// One arrangement of the items round the circle: `order` is their sequence, which follows
// their angles but for items moved past a fixed one.
class Spreader {
public:
    Spreader(const std::vector<SpreadItem>& items, double gap)
        : m_items(items), m_gap(gap), m_n(static_cast<int>(items.size()))
    {
        m_order.resize(m_n);
        std::iota(m_order.begin(), m_order.end(), 0);
        std::stable_sort(m_order.begin(), m_order.end(), [&](int i, int j) {
            return normalised(items[i].angle) < normalised(items[j].angle);
        });
        for (const SpreadItem& item : items)
            m_position.push_back(normalised(item.angle));
        m_unwrapped = m_position;
    }

    std::vector<double> run()
    {
        const std::vector<double> wanted = m_position;
        for (int attempt = 0;; ++attempt) {
            m_extra.assign(static_cast<std::size_t>(m_n * kReach), 0.0);
            if (attempt == 0) {
                m_position = wanted;
                settle();
            }
            // Each move leaves the sequence it chose settled.
            if (attempt < m_n && moveOnePastAFixedItem(wanted))
                continue;
            // The separations hold at the middle angles of the last round; where a pair still
            // meets, it takes a little more.
            for (int pass = 0; pass < 12 && widenWhereMeeting(); ++pass)
                settle();
            return m_position;
        }
    }

private:
    void settle()
    {
        for (int round = 0; round < 4; ++round) {
            const std::vector<double> before = m_position;
            solve();
            double change = 0.0;
            for (int i = 0; i < m_n; ++i)
                change = std::max(change, std::abs(signedTurn(m_position[i] - before[i])));
            if (change < 1e-5) // degrees: a thousandth of a pixel out where the glyphs are
                break;
        }
    }

    bool widenWhereMeeting()
    {
        bool widened = false;
        for (int s = 0; s < m_n; ++s) {
            const int i = m_order[s];
            for (int w = 1; w <= reach(); ++w) {
                const int j = m_order[(s + w) % m_n];
                if ((m_items[i].fixed && m_items[j].fixed) ||
                    !boxesMeet(m_items[i], m_position[i], m_items[j], m_position[j], m_gap * 0.99))
                    continue;
                double& extra = m_extra[static_cast<std::size_t>(s * kReach + w - 1)];
                extra += std::max(0.1, extra);
                widened = true;
            }
        }
        return widened;
    }

    struct Cluster {
        int first; // line indices
        int last;
        double start; // the position of its first item
    };

    const SpreadItem& itemAt(int line) const { return m_items[m_order[(m_cut + line) % m_n]]; }
    double desiredAt(int line) const
    {
        return m_line[static_cast<std::size_t>(line % m_n)] + 360.0 * (line / m_n);
    }

    // Separations of each item from its next kReach followers in the sequence, at the current
    // positions.
    void measure()
    {
        const int reach = std::min(kReach, m_n - 1);
        m_separation.assign(static_cast<std::size_t>(m_n * kReach), 0.0);
        m_direction.clear();
        for (const double position : m_position)
            m_direction.push_back(directionOf(position));
        for (int s = 0; s < m_n; ++s) {
            const int i = m_order[s];
            const Direction a = m_direction[i];
            for (int w = 1; w <= reach; ++w) {
                const int j = m_order[(s + w) % m_n];
                const Direction b = m_direction[j];
                // The middle of two angles less than 180 apart, from their sum of directions.
                const double x = a.cos + b.cos, y = a.sin + b.sin;
                const double length = std::hypot(x, y);
                const Direction middle =
                    length > 1e-9 ? Direction{y / length, x / length}
                                  : directionOf(m_position[i] + signedTurn(m_position[j] - m_position[i]) / 2.0);
                const auto at = static_cast<std::size_t>(s * kReach + w - 1);
                m_separation[at] = separation(m_items[i], m_items[j], middle, b, m_gap) + m_extra[at];
            }
        }
    }

    // Between line indices k < l, l - k <= kReach.
    double sep(int k, int l) const
    {
        const int s = (m_cut + k) % m_n;
        return m_separation[static_cast<std::size_t>(s * kReach + (l - k) - 1)];
    }

    int reach() const { return std::min(kReach, m_n - 1); }

    // The offsets of a cluster's items from its first.
    void layOut(const Cluster& c)
    {
        m_offset[c.first] = 0.0;
        for (int k = c.first + 1; k <= c.last; ++k) {
            double off = 0.0;
            for (int w = 1; w <= reach() && k - w >= c.first; ++w)
                off = std::max(off, m_offset[k - w] + sep(k - w, k));
            m_offset[k] = off;
        }
    }

    // Least squares about the wanted places; a fixed item pins its cluster.
    double startOf(const Cluster& c) const
    {
        double fixedSum = 0.0, freeSum = 0.0;
        int fixedCount = 0;
        for (int k = c.first; k <= c.last; ++k) {
            const double wanted = desiredAt(k) - m_offset[k];
            if (itemAt(k).fixed) {
                fixedSum += wanted;
                ++fixedCount;
            }
            freeSum += wanted;
        }
        return fixedCount > 0 ? fixedSum / fixedCount : freeSum / (c.last - c.first + 1);
    }

    // Where b must start at least to clear a; `shift` degrees are added to b (across 0).
    double leastStart(const Cluster& a, const Cluster& b, double shift) const
    {
        double least = -kInfinity;
        for (int i = std::max(a.first, a.last - reach() + 1); i <= a.last; ++i) {
            for (int j = b.first; j <= b.last; ++j) {
                const int distance = (j + (shift > 0.0 ? m_n : 0)) - i;
                if (distance < 1 || distance > reach())
                    continue;
                const double s = m_separation[static_cast<std::size_t>(
                    ((m_cut + i) % m_n) * kReach + distance - 1)];
                least = std::max(least, a.start + m_offset[i] + s - m_offset[j] - shift);
            }
        }
        return least;
    }

    void solveLine()
    {
        m_offset.assign(static_cast<std::size_t>(m_n), 0.0);
        m_clusters.clear();
        for (int k = 0; k < m_n; ++k) {
            m_clusters.push_back({k, k, desiredAt(k)});
            while (m_clusters.size() >= 2) {
                Cluster& b = m_clusters.back();
                Cluster& a = m_clusters[m_clusters.size() - 2];
                if (b.start >= leastStart(a, b, 0.0) - 1e-12)
                    break;
                a.last = b.last;
                m_clusters.pop_back();
                layOut(m_clusters.back());
                m_clusters.back().start = startOf(m_clusters.back());
            }
        }
    }

    void solve()
    {
        if (m_n < 2)
            return;
        measure();
        // Unwrapped wanted angles along the sequence, cut where the circle is emptiest.
        std::vector<double> step(static_cast<std::size_t>(m_n), 0.0);
        for (int s = 1; s < m_n; ++s)
            step[s] = m_unwrapped[m_order[s]] - m_unwrapped[m_order[s - 1]];
        step[0] = m_unwrapped[m_order[0]] + 360.0 - m_unwrapped[m_order[m_n - 1]];
        m_cut = static_cast<int>(std::max_element(step.begin(), step.end()) - step.begin());
        for (int rotation = 0; rotation < m_n; ++rotation) {
            m_line.assign(static_cast<std::size_t>(m_n), 0.0);
            m_line[0] = m_unwrapped[m_order[m_cut]];
            for (int k = 1; k < m_n; ++k)
                m_line[k] = m_line[k - 1] + step[(m_cut + k) % m_n];
            solveLine();
            const Cluster& first = m_clusters.front();
            const Cluster& last = m_clusters.back();
            if (m_clusters.size() == 1 || first.start >= leastStart(last, first, 360.0) - 1e-12)
                break;
            // The crowd at the end reaches round into the first: cut after the first instead.
            m_cut = (m_cut + m_clusters[1].first) % m_n;
        }
        place();
    }

    void place()
    {
        if (m_clusters.size() == 1) {
            // One crowd round the whole circle: squeezed evenly when it cannot fit.
            const Cluster& c = m_clusters.front();
            const double needed = leastStart(c, c, 360.0) - c.start;
            if (needed > 0.0) {
                const double factor = 360.0 / (360.0 + needed);
                for (int k = c.first; k <= c.last; ++k)
                    m_offset[k] *= factor;
            }
        }
        for (const Cluster& c : m_clusters) {
            for (int k = c.first; k <= c.last; ++k) {
                const int item = m_order[(m_cut + k) % m_n];
                m_position[item] = m_items[item].fixed ? normalised(m_items[item].angle)
                                                       : normalised(c.start + m_offset[k]);
            }
        }
    }

    // Two fixed items in one crowd with free items between them that do not fit: the
    // sequence indices of the first and last of those free items. False when there are none.
    bool conflict(int& firstFree, int& lastFree) const
    {
        for (const Cluster& c : m_clusters) {
            int previousFixed = -1;
            for (int k = c.first; k <= c.last; ++k) {
                if (!itemAt(k).fixed)
                    continue;
                if (previousFixed >= 0 && k - previousFixed > 1) {
                    const double here = desiredAt(k) - m_offset[k];
                    const double there = desiredAt(previousFixed) - m_offset[previousFixed];
                    if (std::abs(here - there) > 1e-9) {
                        firstFree = (m_cut + previousFixed + 1) % m_n;
                        lastFree = (m_cut + k - 1) % m_n;
                        return true;
                    }
                }
                previousFixed = k;
            }
        }
        return false;
    }

    // Swaps the items at sequence indices a and a + 1.
    void swapAt(int a)
    {
        const int b = (a + 1) % m_n;
        if (b == 0) {
            // The pair straddles the sequence's end: the one going first comes from beyond 360.
            m_unwrapped[m_order[b]] += 360.0;
            m_unwrapped[m_order[a]] -= 360.0;
        }
        std::swap(m_order[a], m_order[b]);
    }

    // How far the free items moved, far more when a conflict remains.
    double cost(const std::vector<double>& wanted) const
    {
        int first = 0, last = 0;
        double moved = conflict(first, last) ? 1e6 : 0.0;
        for (int i = 0; i < m_n; ++i)
            moved += std::abs(signedTurn(m_position[i] - wanted[i]));
        return moved;
    }

    // Where free items do not fit between two fixed ones, the first of them goes before the
    // fixed item below or the last after the one above, whichever leaves less to move. False
    // when there is no such conflict.
    bool moveOnePastAFixedItem(const std::vector<double>& wanted)
    {
        int firstFree = 0, lastFree = 0;
        if (!conflict(firstFree, lastFree))
            return false;
        const std::vector<int> order = m_order;
        const std::vector<double> unwrapped = m_unwrapped;
        double best = kInfinity;
        Settled chosen;
        for (const int a : {(firstFree + m_n - 1) % m_n, lastFree}) {
            m_order = order;
            m_unwrapped = unwrapped;
            swapAt(a);
            m_position = wanted;
            settle();
            const double c = cost(wanted);
            if (c < best) {
                best = c;
                chosen = {m_order, m_unwrapped, m_position, m_line, m_offset, m_clusters, m_cut};
            }
        }
        m_order = chosen.order;
        m_unwrapped = chosen.unwrapped;
        m_position = chosen.position;
        m_line = chosen.line;
        m_offset = chosen.offset;
        m_clusters = chosen.clusters;
        m_cut = chosen.cut;
        return true;
    }

    // A sequence and where it settled.
    struct Settled {
        std::vector<int> order;
        std::vector<double> unwrapped;
        std::vector<double> position;
        std::vector<double> line;
        std::vector<double> offset;
        std::vector<Cluster> clusters;
        int cut = 0;
    };

    const std::vector<SpreadItem>& m_items;
    double m_gap;
    int m_n;
    std::vector<int> m_order;
    std::vector<double> m_position;
    std::vector<double> m_unwrapped; // wanted angles increasing along the sequence
    std::vector<double> m_separation;
    std::vector<Direction> m_direction; // of each item's current position
    std::vector<double> m_extra; // degrees added to measured separations that fell short
    int m_cut = 0;
    std::vector<double> m_line;
    std::vector<double> m_offset;
    std::vector<Cluster> m_clusters;
};

} // namespace

bool boxesMeet(const SpreadItem& a, double angleA, const SpreadItem& b, double angleB,
               double gap)
{
    const double ax = a.radius * std::sin(radians(angleA));
    const double ay = a.radius * std::cos(radians(angleA));
    const double bx = b.radius * std::sin(radians(angleB));
    const double by = b.radius * std::cos(radians(angleB));
    return ax + a.box.left < bx + b.box.right + gap && bx + b.box.left < ax + a.box.right + gap &&
           ay + a.box.top < by + b.box.bottom + gap && by + b.box.top < ay + a.box.bottom + gap;
}

std::vector<double> spreadAround(const std::vector<SpreadItem>& items, double gap)
{
    // A fixed item that no other comes near would only hold the others to its side.
    std::vector<SpreadItem> kept;
    std::vector<std::size_t> from;
    for (std::size_t i = 0; i < items.size(); ++i) {
        bool near = !items[i].fixed;
        for (std::size_t j = 0; j < items.size() && !near; ++j) {
            for (const double turn : {-6.0, -3.0, 0.0, 3.0, 6.0}) {
                near = near || (!items[j].fixed &&
                                boxesMeet(items[i], items[i].angle, items[j],
                                          items[i].angle + turn, gap));
            }
        }
        if (near) {
            kept.push_back(items[i]);
            from.push_back(i);
        }
    }
    std::vector<double> angles;
    for (const SpreadItem& item : items)
        angles.push_back(normalised(item.angle));
    const std::vector<double> spread = Spreader(kept, gap).run();
    for (std::size_t k = 0; k < kept.size(); ++k)
        angles[from[k]] = spread[k];
    return angles;
}

} // namespace velmora
