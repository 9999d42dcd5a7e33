#include "calendar/KeywordMatcher.h"

#include <algorithm>
#include <deque>
#include <map>

namespace merivane {

namespace {
std::int32_t Better(std::int32_t a, std::int32_t b) {
    if (a < 0) {
        return b;
    }
    return b < 0 ? a : std::min(a, b);
}
}  // namespace

KeywordMatcher::KeywordMatcher(const std::vector<KeywordEntry>& list) {
    // A trie with ordered children first; flattened into sorted edge runs afterwards.
    std::vector<std::map<char16_t, std::int32_t>> children(1);
    std::vector<std::int32_t> ends(1, -1);
    for (std::int32_t index = 0; index < static_cast<std::int32_t>(list.size()); ++index) {
        const QString& key = list[index].Key;
        if (key.isEmpty()) {
            m_emptyKey = Better(m_emptyKey, index);
            continue;
        }
        std::int32_t node = 0;
        for (QChar c : key) {
            auto [it, added] =
                children[node].try_emplace(c.unicode(), static_cast<std::int32_t>(children.size()));
            if (added) {
                children.emplace_back();
                ends.push_back(-1);
            }
            node = it->second;
        }
        ends[node] = Better(ends[node], index);
    }

    m_nodes.resize(children.size());
    for (std::size_t n = 0; n < children.size(); ++n) {
        m_nodes[n].FirstChild = static_cast<std::uint32_t>(m_edges.size());
        m_nodes[n].ChildCount = static_cast<std::uint32_t>(children[n].size());
        m_nodes[n].Best = ends[n];
        for (const auto& [c, target] : children[n]) {
            m_edges.push_back({c, target});
            if (n == 0 && c < 128) {
                m_rootAscii[c] = target;
            }
        }
    }

    // Failure links breadth first, so a node's suffix is finished before the node.
    std::deque<std::int32_t> queue;
    for (const auto& [c, target] : children[0]) {
        m_nodes[target].Fail = 0;
        queue.push_back(target);
    }
    while (!queue.empty()) {
        std::int32_t node = queue.front();
        queue.pop_front();
        for (const auto& [c, target] : children[node]) {
            std::int32_t fail = m_nodes[node].Fail;
            while (fail != 0 && Child(fail, c) < 0) {
                fail = m_nodes[fail].Fail;
            }
            std::int32_t next = Child(fail, c);
            m_nodes[target].Fail = (next >= 0 && next != target) ? next : 0;
            m_nodes[target].Best = Better(m_nodes[target].Best, m_nodes[m_nodes[target].Fail].Best);
            queue.push_back(target);
        }
    }
}

std::int32_t KeywordMatcher::Child(std::int32_t node, char16_t c) const {
    if (node == 0 && c < 128) {
        return m_rootAscii[c] == 0 ? -1 : m_rootAscii[c];
    }
    const Node& n = m_nodes[node];
    const Edge* first = m_edges.data() + n.FirstChild;
    const Edge* last = first + n.ChildCount;
    const Edge* found =
        std::lower_bound(first, last, c, [](const Edge& e, char16_t ch) { return e.Char < ch; });
    return (found != last && found->Char == c) ? found->Target : -1;
}

int KeywordMatcher::FirstMatch(const QString& text) const {
    std::int32_t best = m_emptyKey;
    if (m_nodes.empty()) {
        return best;
    }
    std::int32_t state = 0;
    for (QChar ch : text) {
        char16_t c = ch.unicode();
        std::int32_t next = Child(state, c);
        while (next < 0 && state != 0) {
            state = m_nodes[state].Fail;
            next = Child(state, c);
        }
        state = next < 0 ? 0 : next;
        best = Better(best, m_nodes[state].Best);
        if (best == 0) {
            break;  // nothing can come before the first entry
        }
    }
    return best;
}

int FirstMatchByScan(const std::vector<KeywordEntry>& list, const QString& text) {
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        if (text.contains(list[i].Key)) {
            return i;
        }
    }
    return -1;
}

}  // namespace merivane
