#include "platform/TaskScheduler.h"

#include <algorithm>
#include <cmath>

namespace merivane {

class CollectingTask::Trigger final : public TaskTrigger {
  public:
    void SetTriggerType(std::int32_t value) override { Definition.TriggerType = value; }
    void SetBeginDay(SerialDate value) override { Definition.BeginDay = value; }
    void SetStartTime(SerialDate value) override { Definition.StartTime = value; }
    void SetInterval(std::int16_t minutes) override { Definition.Interval = minutes; }
    void SetDuration(std::int16_t minutes) override { Definition.Duration = minutes; }

    TaskTriggerDefinition Definition;
};

CollectingTask::CollectingTask(const QString& name, SaveFunction save) : m_save(std::move(save)) {
    m_definition.Name = name;
}

CollectingTask::~CollectingTask() = default;

TaskTrigger& CollectingTask::Add() {
    m_triggers.push_back(std::make_unique<Trigger>());
    return *m_triggers.back();
}

bool CollectingTask::Save() {
    m_definition.Triggers.clear();
    for (const auto& trigger : m_triggers) {
        m_definition.Triggers.push_back(trigger->Definition);
    }
    return m_save ? m_save(m_definition) : false;
}

std::vector<int> DailyRunMinutes(const TaskDefinition& task) {
    std::vector<int> minutes;
    for (const TaskTriggerDefinition& trigger : task.Triggers) {
        if (trigger.TriggerType != 1) {
            continue;
        }
        double dayPart = trigger.StartTime - std::floor(trigger.StartTime);
        int start = static_cast<int>(std::lround(dayPart * 1440.0)) % 1440;
        minutes.push_back(start);
        int interval = trigger.Interval.value_or(0);
        int duration = trigger.Duration.value_or(0);
        if (interval <= 0 || duration <= 0) {
            continue;
        }
        for (int k = 1; k * interval <= duration; ++k) {
            minutes.push_back((start + k * interval) % 1440);
        }
    }
    std::sort(minutes.begin(), minutes.end());
    minutes.erase(std::unique(minutes.begin(), minutes.end()), minutes.end());
    return minutes;
}

}  // namespace merivane
