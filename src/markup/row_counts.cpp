#include "markup/row_counts.h"

#include <algorithm>
#include <bit>

namespace markup {

namespace {

constexpr int kRun = 256;           // blocks in a run made afresh
constexpr int kLongest = 2 * kRun;  // a run grown past this is cut up

}  // namespace

void RowCounts::Sums::rebuild(const std::vector<Run>& runs)
{
    const size_t n = runs.size();
    blocks.assign(n + 1, 0);
    rows.assign(n + 1, 0);
    unknown.assign(n + 1, 0);
    for (size_t i = 1; i <= n; ++i) {
        blocks[i] += qint64(runs[i - 1].rows.size());
        rows[i] += runs[i - 1].known;
        unknown[i] += runs[i - 1].unknown;
        const size_t parent = i + (i & (~i + 1));
        if (parent <= n) {
            blocks[parent] += blocks[i];
            rows[parent] += rows[i];
            unknown[parent] += unknown[i];
        }
    }
}

void RowCounts::Sums::add(int run, qint64 blockDelta, qint64 rowDelta, qint64 unknownDelta)
{
    const size_t n = blocks.size() - 1;
    for (size_t i = size_t(run) + 1; i <= n; i += i & (~i + 1)) {
        blocks[i] += blockDelta;
        rows[i] += rowDelta;
        unknown[i] += unknownDelta;
    }
}

qint64 RowCounts::Sums::prefix(const std::vector<qint64>& tree, int runs) const
{
    qint64 sum = 0;
    for (size_t i = size_t(runs); i > 0; i &= i - 1) sum += tree[i];
    return sum;
}

namespace {

// Fenwick search: how many leading runs have a sum of at most `limit`.
int RunsWithin(const std::vector<qint64>& tree, qint64 limit)
{
    const size_t n = tree.size() - 1;
    size_t position = 0;
    for (size_t step = n ? std::bit_floor(n) : 0; step > 0; step >>= 1) {
        if (position + step <= n && tree[position + step] <= limit) {
            position += step;
            limit -= tree[position];
        }
    }
    return int(position);
}

}  // namespace

void RowCounts::recount(Run& run)
{
    run.known = 0;
    run.unknown = 0;
    for (const int rows : run.rows) {
        if (rows == kUnknown)
            ++run.unknown;
        else
            run.known += rows;
    }
}

void RowCounts::rebuild()
{
    m_sums.rebuild(m_runs);
}

void RowCounts::reset(int blocks)
{
    if (blocks == m_size && !m_runs.empty()) {
        // A new width over the same blocks: the runs are kept, emptied.
        for (Run& run : m_runs) {
            std::fill(run.rows.begin(), run.rows.end(), kUnknown);
            for (Breaks& breaks : run.breaks) breaks.clear();
            run.known = 0;
            run.unknown = int(run.rows.size());
        }
        rebuild();
        return;
    }
    m_runs.clear();
    m_size = blocks;
    for (int start = 0; start < blocks; start += kRun) {
        Run run;
        run.rows.assign(size_t(std::min(kRun, blocks - start)), kUnknown);
        run.breaks.resize(run.rows.size());
        run.unknown = int(run.rows.size());
        m_runs.push_back(std::move(run));
    }
    rebuild();
}

std::pair<int, int> RowCounts::locate(int block) const
{
    if (m_runs.empty()) return {0, 0};
    if (block >= m_size) return {int(m_runs.size()) - 1, int(m_runs.back().rows.size())};
    const int run = RunsWithin(m_sums.blocks, block);
    return {run, block - int(m_sums.prefix(m_sums.blocks, run))};
}

int RowCounts::rows(int block) const
{
    const auto [run, offset] = locate(block);
    return m_runs[size_t(run)].rows[size_t(offset)];
}

void RowCounts::set(int block, int rows)
{
    const auto [run, offset] = locate(block);
    Run& r = m_runs[size_t(run)];
    int& slot = r.rows[size_t(offset)];
    const qint64 rowDelta = qint64(rows == kUnknown ? 0 : rows) - (slot == kUnknown ? 0 : slot);
    const int unknownDelta = int(rows == kUnknown) - int(slot == kUnknown);
    slot = rows;
    r.breaks[size_t(offset)].clear();
    r.known += rowDelta;
    r.unknown += unknownDelta;
    m_sums.add(run, 0, rowDelta, unknownDelta);
}

void RowCounts::set(int block, Breaks breaks)
{
    set(block, int(breaks.size()));
    const auto [run, offset] = locate(block);
    m_runs[size_t(run)].breaks[size_t(offset)] = std::move(breaks);
}

const RowCounts::Breaks& RowCounts::breaks(int block) const
{
    const auto [run, offset] = locate(block);
    return m_runs[size_t(run)].breaks[size_t(offset)];
}

qint64 RowCounts::rowsBefore(int block) const
{
    const auto [run, offset] = locate(block);
    if (m_runs.empty()) return 0;
    qint64 sum = m_sums.prefix(m_sums.rows, run);
    const auto& rows = m_runs[size_t(run)].rows;
    for (int i = 0; i < offset; ++i)
        if (rows[size_t(i)] != kUnknown) sum += rows[size_t(i)];
    return sum;
}

int RowCounts::unknownBefore(int block) const
{
    const auto [run, offset] = locate(block);
    if (m_runs.empty()) return 0;
    qint64 count = m_sums.prefix(m_sums.unknown, run);
    const auto& rows = m_runs[size_t(run)].rows;
    count += std::count(rows.begin(), rows.begin() + offset, kUnknown);
    return int(count);
}

int RowCounts::firstUnknown(int from) const
{
    if (from >= m_size) return m_size;
    auto [run, offset] = locate(from);
    const auto& here = m_runs[size_t(run)].rows;
    const auto found = std::find(here.begin() + offset, here.end(), kUnknown);
    if (found != here.end()) return from + int(found - (here.begin() + offset));
    // The first later run with a block not known.
    run = RunsWithin(m_sums.unknown, m_sums.prefix(m_sums.unknown, run + 1));
    if (run >= int(m_runs.size())) return m_size;
    const auto& there = m_runs[size_t(run)].rows;
    return int(m_sums.prefix(m_sums.blocks, run)) +
           int(std::find(there.begin(), there.end(), kUnknown) - there.begin());
}

void RowCounts::replace(int first, int removed, int added)
{
    removed = std::clamp(removed, 0, m_size - first);
    if (m_runs.empty()) {
        reset(added);
        return;
    }
    const auto [run, offset] = locate(first);
    Run& r = m_runs[size_t(run)];
    const int length = int(r.rows.size());
    const int grown = length - removed + added;
    if (offset + removed <= length && grown >= 1 && grown <= kLongest) {
        // Inside one run: the usual keystroke.
        const qint64 known = r.known;
        const int unknown = r.unknown;
        r.rows.erase(r.rows.begin() + offset, r.rows.begin() + offset + removed);
        r.rows.insert(r.rows.begin() + offset, size_t(added), kUnknown);
        r.breaks.erase(r.breaks.begin() + offset, r.breaks.begin() + offset + removed);
        r.breaks.insert(r.breaks.begin() + offset, size_t(added), Breaks());
        recount(r);
        m_size += added - removed;
        m_sums.add(run, added - removed, r.known - known, r.unknown - unknown);
        return;
    }

    // Across runs: gather what is kept around the replaced blocks and cut it
    // into fresh runs.
    int last = run;
    int kept = length - offset;  // blocks of the runs gathered so far from `first` on
    while (kept < removed && last + 1 < int(m_runs.size()))
        kept += int(m_runs[size_t(++last)].rows.size());
    std::vector<int> rows(r.rows.begin(), r.rows.begin() + offset);
    std::vector<Breaks> breaks(std::make_move_iterator(r.breaks.begin()),
                               std::make_move_iterator(r.breaks.begin() + offset));
    rows.insert(rows.end(), size_t(added), kUnknown);
    breaks.resize(rows.size());
    Run& tail = m_runs[size_t(last)];
    const int tailFrom = int(tail.rows.size()) - (kept - removed);
    rows.insert(rows.end(), tail.rows.begin() + tailFrom, tail.rows.end());
    breaks.insert(breaks.end(), std::make_move_iterator(tail.breaks.begin() + tailFrom),
                  std::make_move_iterator(tail.breaks.end()));

    std::vector<Run> fresh;
    for (size_t start = 0; start < rows.size(); start += kRun) {
        const size_t end = std::min(rows.size(), start + kRun);
        Run piece;
        piece.rows.assign(rows.begin() + qsizetype(start), rows.begin() + qsizetype(end));
        piece.breaks.assign(std::make_move_iterator(breaks.begin() + qsizetype(start)),
                            std::make_move_iterator(breaks.begin() + qsizetype(end)));
        recount(piece);
        fresh.push_back(std::move(piece));
    }
    m_runs.erase(m_runs.begin() + run, m_runs.begin() + last + 1);
    m_runs.insert(m_runs.begin() + run, std::make_move_iterator(fresh.begin()),
                  std::make_move_iterator(fresh.end()));
    m_size += added - removed;
    rebuild();
}

}  // namespace markup
