#pragma once

#include "calendar/EventRecord.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace merivane {

// Finds, in one pass over a text, the first entry of a keyword list (in list order, which
// is the matching priority) whose key occurs in the text: an Aho-Corasick automaton over
// all keys, each node knowing the best (lowest) list index of the keys that end there or
// at any of its suffixes. Built once per table.
class KeywordMatcher {
  public:
    KeywordMatcher() = default;
    explicit KeywordMatcher(const std::vector<KeywordEntry>& list);

    // The list index of the first entry whose key occurs in `text`, or -1.
    int FirstMatch(const QString& text) const;

  private:
    struct Node {
        std::uint32_t FirstChild = 0;  // into m_edges, sorted by character
        std::uint32_t ChildCount = 0;
        std::int32_t Fail = 0;
        std::int32_t Best = -1;  // lowest list index ending here or at a suffix
    };
    struct Edge {
        char16_t Char;
        std::int32_t Target;
    };

    std::int32_t Child(std::int32_t node, char16_t c) const;

    std::vector<Node> m_nodes;
    std::vector<Edge> m_edges;
    std::array<std::int32_t, 128> m_rootAscii{};  // the root's children by ASCII code, 0 for none
    std::int32_t m_emptyKey = -1;                 // an empty key occurs in every text
};

// The same answer by the plain scan of the list, for comparison.
int FirstMatchByScan(const std::vector<KeywordEntry>& list, const QString& text);

}  // namespace merivane
