#pragma once

#include <QtGlobal>
#include <utility>
#include <vector>

namespace markup {

// How many rows each block of a document takes on screen, where known, summed
// so that "rows before block N" and "are all blocks before N known" take
// O(log n), and where the rows of a wrapped block break. Blocks are kept in
// runs of a few hundred; an edit replaces the runs it touches, so it costs
// what it changes, not what the document holds.
class RowCounts {
public:
    static constexpr int kUnknown = -1;
    // The rows of a block as (start, length) within it.
    using Breaks = std::vector<std::pair<int, int>>;

    // `blocks` blocks, none of them known.
    void reset(int blocks);
    int size() const { return m_size; }

    // Blocks [first, first + removed) become `added` blocks not yet known.
    void replace(int first, int removed, int added);
    void set(int block, int rows);
    int rows(int block) const;
    // The same with where the rows break; none are kept for a block that is
    // one row from its start to its end.
    void set(int block, Breaks breaks);
    const Breaks& breaks(int block) const;

    // Sums over the blocks before `block` (0 <= block <= size()).
    qint64 rowsBefore(int block) const;
    int unknownBefore(int block) const;
    // The first block at or after `from` whose rows are not known, or size().
    int firstUnknown(int from) const;

private:
    struct Run {
        std::vector<int> rows;  // kUnknown where not known
        std::vector<Breaks> breaks;
        qint64 known = 0;  // sum of the known counts
        int unknown = 0;   // how many are not known
    };
    // Partial sums over the runs, indexed from 1.
    struct Sums {
        std::vector<qint64> blocks, rows, unknown;
        void rebuild(const std::vector<Run>& runs);
        void add(int run, qint64 blocks, qint64 rows, qint64 unknown);
        qint64 prefix(const std::vector<qint64>& tree, int runs) const;
    };

    // The run holding `block` and the block's place in it; for block ==
    // size() one past the end of the last run.
    std::pair<int, int> locate(int block) const;
    static void recount(Run& run);
    void rebuild();

    std::vector<Run> m_runs;
    Sums m_sums;
    int m_size = 0;
};

}  // namespace markup
