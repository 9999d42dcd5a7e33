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
    if (!typed.empty()) {
        std::optional<QString> answer = typed.front();
        typed.pop_front();
        return answer;
    }
    return defaultText;
}

namespace {
class FakeTaskScheduler final : public TaskSchedulerComponent {
  public:
    explicit FakeTaskScheduler(FakeCompanion& owner) : m_owner(owner) {}
    std::unique_ptr<ScheduledTaskObject> CreateTask(const QString& name) override {
        m_owner.calls << QStringLiteral("create ") + name;
        return std::make_unique<CollectingTask>(name, [this](const TaskDefinition& task) {
            m_owner.calls << QStringLiteral("save ") + task.Name;
            m_owner.tasks.push_back(task);
            return true;
        });
    }
    void Refresh() override { m_owner.calls << QStringLiteral("refresh"); }
    QStringList TaskNames() override {
        QStringList names;
        for (const TaskDefinition& task : m_owner.tasks) {
            names << task.Name;
        }
        return names;
    }
    void Delete(std::int16_t& position) override {
        m_owner.calls << QStringLiteral("delete %1").arg(position);
        if (position >= 1 && position <= static_cast<int>(m_owner.tasks.size())) {
            m_owner.tasks.erase(m_owner.tasks.begin() + (position - 1));
        }
    }

  private:
    FakeCompanion& m_owner;
};
}  // namespace

std::unique_ptr<TaskSchedulerComponent> FakeCompanion::CreateTaskScheduler() {
    ++creations;
    if (!available) {
        return nullptr;
    }
    return std::make_unique<FakeTaskScheduler>(*this);
}

}  // namespace merivane::test
