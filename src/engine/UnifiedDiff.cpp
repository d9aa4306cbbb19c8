#include "UnifiedDiff.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

using Lines = std::vector<std::string_view>;

Lines linesOf(std::string_view text)
{
    Lines lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t lf = text.find('\n', from);
        const std::size_t to = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.push_back(text.substr(from, to - from));
        from = to;
    }
    return lines;
}

// Old lines [oldFrom, oldFrom + oldCount) become new lines [newFrom, newFrom + newCount).
struct Change
{
    std::size_t oldFrom;
    std::size_t oldCount;
    std::size_t newFrom;
    std::size_t newCount;

    std::size_t oldEnd() const { return oldFrom + oldCount; }
    std::size_t newEnd() const { return newFrom + newCount; }
};

// Lines as numbers, equal numbers for equal lines, so matching compares integers.
std::pair<std::vector<std::uint32_t>, std::vector<std::uint32_t>> numbered(
    const Lines &oldLines, const Lines &newLines, std::size_t from, std::size_t oldTo, std::size_t newTo)
{
    std::unordered_map<std::string_view, std::uint32_t> numbers;
    const auto numberOf = [&numbers](std::string_view line) {
        return numbers.try_emplace(line, std::uint32_t(numbers.size())).first->second;
    };
    std::vector<std::uint32_t> a;
    std::vector<std::uint32_t> b;
    a.reserve(oldTo - from);
    b.reserve(newTo - from);
    for (std::size_t i = from; i < oldTo; ++i)
        a.push_back(numberOf(oldLines[i]));
    for (std::size_t i = from; i < newTo; ++i)
        b.push_back(numberOf(newLines[i]));
    return { std::move(a), std::move(b) };
}

// Myers' greedy shortest edit script over a and b, keeping the furthest reach of every
// round so the path can be walked back. Gives up (empty optional) past workLimit steps;
// the kept rounds never outgrow the steps taken, so memory stays bounded too.
class ShortestEdit
{
public:
    ShortestEdit(
        const std::vector<std::uint32_t> &a, const std::vector<std::uint32_t> &b, std::size_t workLimit)
        : m_a(a)
        , m_b(b)
        , m_workLimit(workLimit)
    {
    }

    // The changes in order, with line numbers relative to the start of a and b.
    std::optional<std::vector<Change>> run()
    {
        const auto n = std::ptrdiff_t(m_a.size());
        const auto m = std::ptrdiff_t(m_b.size());
        const std::ptrdiff_t offset = n + m + 1;
        std::vector<std::ptrdiff_t> reach(std::size_t(2 * offset + 1), 0);
        std::size_t work = 0;
        for (std::ptrdiff_t d = 0; d <= n + m; ++d) {
            for (std::ptrdiff_t k = -d; k <= d; k += 2) {
                const auto reachOf
                    = [&](std::ptrdiff_t diagonal) { return reach[std::size_t(offset + diagonal)]; };
                std::ptrdiff_t x = comesDown(reachOf, k, d) ? reachOf(k + 1) : reachOf(k - 1) + 1;
                std::ptrdiff_t y = x - k;
                ++work;
                while (x < n && y < m && m_a[std::size_t(x)] == m_b[std::size_t(y)]) {
                    ++x;
                    ++y;
                    ++work;
                }
                reach[std::size_t(offset + k)] = x;
                if (x >= n && y >= m)
                    return walkBack(d);
            }
            if (work > m_workLimit)
                return std::nullopt;
            keepRound(reach, offset, d);
        }
        return std::nullopt;
    }

private:
    // Whether diagonal k is reached in round d by an insertion from k + 1 rather than a
    // deletion from k - 1; reachOf gives the previous round's reach on a diagonal.
    template <typename ReachOf>
    static bool comesDown(const ReachOf &reachOf, std::ptrdiff_t k, std::ptrdiff_t d)
    {
        return k == -d || (k != d && reachOf(k - 1) < reachOf(k + 1));
    }

    // Round d keeps diagonals -d..d, stored after the d * d values of the rounds before it.
    void keepRound(const std::vector<std::ptrdiff_t> &reach, std::ptrdiff_t offset, std::ptrdiff_t d)
    {
        m_rounds.insert(m_rounds.end(), reach.begin() + (offset - d), reach.begin() + (offset + d + 1));
    }

    std::ptrdiff_t keptReach(std::ptrdiff_t d, std::ptrdiff_t k) const
    {
        return m_rounds[std::size_t(d * d + d + k)];
    }

    std::vector<Change> walkBack(std::ptrdiff_t rounds) const
    {
        std::vector<Change> changes;
        std::ptrdiff_t x = std::ptrdiff_t(m_a.size());
        std::ptrdiff_t y = std::ptrdiff_t(m_b.size());
        for (std::ptrdiff_t d = rounds; d > 0; --d) {
            const std::ptrdiff_t k = x - y;
            const auto reachOf = [&](std::ptrdiff_t diagonal) { return keptReach(d - 1, diagonal); };
            const bool down = comesDown(reachOf, k, d);
            const std::ptrdiff_t previousK = down ? k + 1 : k - 1;
            x = keptReach(d - 1, previousK);
            y = x - previousK;
            prepend(changes,
                down ? Change { std::size_t(x), 0, std::size_t(y), 1 }
                     : Change { std::size_t(x), 1, std::size_t(y), 0 });
        }
        std::reverse(changes.begin(), changes.end());
        return changes;
    }

    // Walking back meets the edits last first; one that ends where the latest began joins it.
    static void prepend(std::vector<Change> &reversed, const Change &edit)
    {
        if (!reversed.empty()) {
            Change &latest = reversed.back();
            if (edit.oldEnd() == latest.oldFrom && edit.newEnd() == latest.newFrom) {
                latest = { edit.oldFrom, edit.oldCount + latest.oldCount, edit.newFrom,
                    edit.newCount + latest.newCount };
                return;
            }
        }
        reversed.push_back(edit);
    }

    const std::vector<std::uint32_t> &m_a;
    const std::vector<std::uint32_t> &m_b;
    std::size_t m_workLimit;
    std::vector<std::ptrdiff_t> m_rounds;
};

std::vector<Change> changesBetween(const Lines &oldLines, const Lines &newLines, std::size_t workLimit)
{
    std::size_t prefix = 0;
    while (prefix < oldLines.size() && prefix < newLines.size() && oldLines[prefix] == newLines[prefix])
        ++prefix;
    std::size_t oldTo = oldLines.size();
    std::size_t newTo = newLines.size();
    while (oldTo > prefix && newTo > prefix && oldLines[oldTo - 1] == newLines[newTo - 1]) {
        --oldTo;
        --newTo;
    }
    if (oldTo == prefix && newTo == prefix)
        return {};

    const auto [a, b] = numbered(oldLines, newLines, prefix, oldTo, newTo);
    const auto found = ShortestEdit(a, b, workLimit).run();
    if (!found)
        return { { prefix, oldTo - prefix, prefix, newTo - prefix } };
    std::vector<Change> changes = *found;
    for (Change &change : changes) {
        change.oldFrom += prefix;
        change.newFrom += prefix;
    }
    return changes;
}

// "start,count", where an empty range names the line before it and a count of one is left out.
std::string rangeText(std::size_t from, std::size_t count)
{
    std::string text = std::to_string(count == 0 ? from : from + 1);
    if (count != 1)
        text += ',' + std::to_string(count);
    return text;
}

void appendLine(std::string &out, char mark, std::string_view line)
{
    out += mark;
    out += line;
    if (line.empty() || line.back() != '\n')
        out += "\n\\ No newline at end of file\n";
}

void appendLines(std::string &out, char mark, const Lines &lines, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i)
        appendLine(out, mark, lines[i]);
}

// One hunk for changes[first, last]: context, then each change with the unchanged lines
// between them, then context again.
void appendHunk(std::string &out, const Lines &oldLines, const Lines &newLines,
    const std::vector<Change> &changes, std::size_t first, std::size_t last)
{
    const Change &head = changes[first];
    const Change &tail = changes[last];
    const std::size_t before = std::min(head.oldFrom, UnifiedDiff::kContext);
    const std::size_t after = std::min(oldLines.size() - tail.oldEnd(), UnifiedDiff::kContext);
    const std::size_t oldFrom = head.oldFrom - before;
    const std::size_t newFrom = head.newFrom - before;
    out += "@@ -" + rangeText(oldFrom, tail.oldEnd() + after - oldFrom) + " +"
        + rangeText(newFrom, tail.newEnd() + after - newFrom) + " @@\n";
    std::size_t at = oldFrom;
    for (std::size_t i = first; i <= last; ++i) {
        const Change &change = changes[i];
        appendLines(out, ' ', oldLines, at, change.oldFrom);
        appendLines(out, '-', oldLines, change.oldFrom, change.oldEnd());
        appendLines(out, '+', newLines, change.newFrom, change.newEnd());
        at = change.oldEnd();
    }
    appendLines(out, ' ', oldLines, at, tail.oldEnd() + after);
}

bool needsQuotes(std::string_view name)
{
    return std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7f || c == '"' || c == '\\';
    });
}

} // namespace

std::string UnifiedDiff::quotedName(std::string_view name)
{
    if (!needsQuotes(name))
        return std::string(name);
    std::string quoted = "\"";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (byte < ' ' || byte == 0x7f) {
            quoted += '\\';
            quoted += char('0' + (byte >> 6));
            quoted += char('0' + ((byte >> 3) & 7));
            quoted += char('0' + (byte & 7));
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

std::string UnifiedDiff::between(std::string_view oldText, std::string_view newText, std::string_view oldName,
    std::string_view newName, std::size_t workLimit)
{
    if (oldText == newText)
        return {};
    const Lines oldLines = linesOf(oldText);
    const Lines newLines = linesOf(newText);
    const std::vector<Change> changes = changesBetween(oldLines, newLines, workLimit);

    std::string out = "--- " + quotedName(oldName) + "\n+++ " + quotedName(newName) + '\n';
    std::size_t first = 0;
    for (std::size_t i = 1; i <= changes.size(); ++i) {
        // Changes close enough for their context to meet share one hunk.
        if (i < changes.size() && changes[i].oldFrom - changes[i - 1].oldEnd() <= 2 * kContext)
            continue;
        appendHunk(out, oldLines, newLines, changes, first, i - 1);
        first = i;
    }
    return out;
}
