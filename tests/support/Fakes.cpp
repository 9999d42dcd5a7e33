#include "support/Fakes.h"

namespace merivane::test {

QString FakeEnvironment::Get(const QString& name) const {
    for (const auto& entry : m_entries) {
        if (entry.first == name) {
            return entry.second;
        }
    }
    return QString();
}

void FakeEnvironment::Set(const QString& name, const QString& value) {
    for (auto& entry : m_entries) {
        if (entry.first == name) {
            entry.second = value;
            return;
        }
    }
    m_entries.append({name, value});
}

double FakeRandom::Next() {
    if (script.empty()) {
        return 0.0;
    }
    double value = script.front();
    script.pop_front();
    return value;
}

MessageResult FakeDialogs::MessageBox(const QString& text, const QString& title, MessageIcon icon,
                                      MessageButtons, MessageResult defaultAnswer) {
    messages.push_back({text, title, icon});
    if (answers.empty()) {
        return defaultAnswer;
    }
    MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::InputBox(const QString& prompt, const QString& title,
                                             const QString& defaultText) {
    messages.push_back({prompt, title, MessageIcon::Question});
    return defaultText;
}

}  // namespace merivane::test
