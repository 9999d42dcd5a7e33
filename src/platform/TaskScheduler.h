#pragma once

#include "platform/SerialDate.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace merivane {

// One trigger as the component keeps it. Interval and Duration are minutes; they are set
// only for a trigger that repeats within its day.
struct TaskTriggerDefinition {
    std::int32_t TriggerType = 0;
    SerialDate BeginDay = 0;
    SerialDate StartTime = 0;
    std::optional<std::int16_t> Interval;
    std::optional<std::int16_t> Duration;
};

// What a task holds once saved: everything the program set on it.
struct TaskDefinition {
    QString Name;
    QString ApplicationName;
    QString CommandLine;
    QString WorkingDirectory;
    QString Creator;
    QString Comment;
    std::int32_t Flags = 0;
    std::vector<TaskTriggerDefinition> Triggers;
};

// The task scheduler component, driven by the same calls the program makes on it
// wherever it runs: a task is made, its properties set one by one, triggers added to it,
// and saved; tasks are listed by position (from 1) and deleted by position.
class TaskTrigger {
  public:
    virtual ~TaskTrigger() = default;
    virtual void SetTriggerType(std::int32_t value) = 0;
    virtual void SetBeginDay(SerialDate value) = 0;
    virtual void SetStartTime(SerialDate value) = 0;
    virtual void SetInterval(std::int16_t minutes) = 0;
    virtual void SetDuration(std::int16_t minutes) = 0;
};

class TaskTriggers {
  public:
    virtual ~TaskTriggers() = default;
    // The new trigger lives as long as its task object.
    virtual TaskTrigger& Add() = 0;
};

class ScheduledTaskObject {
  public:
    virtual ~ScheduledTaskObject() = default;
    virtual void SetApplicationName(const QString& value) = 0;
    virtual void SetCommandLine(const QString& value) = 0;
    virtual void SetWorkingDirectory(const QString& value) = 0;
    virtual void SetCreator(const QString& value) = 0;
    virtual void SetComment(const QString& value) = 0;
    virtual void SetFlags(std::int32_t value) = 0;
    virtual TaskTriggers& Triggers() = 0;
    // False when the task could not be made to exist.
    virtual bool Save() = 0;
};

class TaskSchedulerComponent {
  public:
    virtual ~TaskSchedulerComponent() = default;
    virtual std::unique_ptr<ScheduledTaskObject> CreateTask(const QString& name) = 0;
    virtual void Refresh() = 0;
    // The names of the tasks in the order of their enumeration.
    virtual QStringList TaskNames() = 0;
    // Deletes the task at `position` of the enumeration (counted from 1).
    virtual void Delete(std::int16_t& position) = 0;
    // Where the task at `position` lives and when it runs, for people to read.
    virtual QString Describe(int position) { return TaskNames().value(position - 1); }
};

// Makes the component object; nothing when it cannot be made (not registered).
class CompanionComponent {
  public:
    virtual ~CompanionComponent() = default;
    virtual std::unique_ptr<TaskSchedulerComponent> CreateTaskScheduler() = 0;
};

// A task object that collects what is set on it into a TaskDefinition and hands the whole
// to `save`. Both the machine's component and the tests' recorder build on it.
class CollectingTask : public ScheduledTaskObject, private TaskTriggers {
  public:
    using SaveFunction = std::function<bool(const TaskDefinition&)>;
    CollectingTask(const QString& name, SaveFunction save);
    ~CollectingTask() override;

    void SetApplicationName(const QString& value) override { m_definition.ApplicationName = value; }
    void SetCommandLine(const QString& value) override { m_definition.CommandLine = value; }
    void SetWorkingDirectory(const QString& value) override { m_definition.WorkingDirectory = value; }
    void SetCreator(const QString& value) override { m_definition.Creator = value; }
    void SetComment(const QString& value) override { m_definition.Comment = value; }
    void SetFlags(std::int32_t value) override { m_definition.Flags = value; }
    TaskTriggers& Triggers() override { return *this; }
    bool Save() override;

  private:
    TaskTrigger& Add() override;

    class Trigger;
    TaskDefinition m_definition;
    SaveFunction m_save;
    std::vector<std::unique_ptr<Trigger>> m_triggers;
};

// The minutes of the day (0..1439, ascending, each once) at which a task's daily triggers
// run: StartTime, then every Interval minutes for as long as k x Interval <= Duration, as
// the scheduler counts a repetition period (its end included).
std::vector<int> DailyRunMinutes(const TaskDefinition& task);

}  // namespace merivane
