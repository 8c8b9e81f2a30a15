// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplayEngine.h"

#include <cmath>
#include <istream>
#include <limits>
#include <ostream>

namespace orvane::ctl {

namespace {

using model::json::Json;

// Prints each call the monitor makes, then hands it to the real executor.
class RecordingExecutor final : public engine::LaunchTargetExecutor {
public:
    RecordingExecutor(std::unique_ptr<engine::LaunchTargetExecutor> inner, std::size_t position,
                      const char* role, ReplayEngine& replay)
        : m_inner(std::move(inner)), m_position(position), m_role(role), m_replay(replay)
    {
    }
    void press() override { record("press", &LaunchTargetExecutor::press); }
    void keyDown() override { record("keyDown", &LaunchTargetExecutor::keyDown); }
    void keyRepeat() override { record("keyRepeat", &LaunchTargetExecutor::keyRepeat); }
    void keyUp() override { record("keyUp", &LaunchTargetExecutor::keyUp); }

private:
    void record(const char* op, void (LaunchTargetExecutor::*call)())
    {
        Json call_ = Json::object();
        call_["position"] = m_position;
        call_["executor"] = m_role;
        call_["op"] = op;
        m_replay.print("call", std::move(call_));
        ((*m_inner).*call)();
    }

    std::unique_ptr<engine::LaunchTargetExecutor> m_inner;
    std::size_t m_position;
    const char* m_role;
    ReplayEngine& m_replay;
};

struct ScriptEvent {
    Json at;
    engine::KeyEvent event;
};

// The latest time a script may name: its nanoseconds, and their differences, stay far inside the
// clock's 64 bits (about 292 years).
constexpr double maxSeconds = 1e9;

// One script line as an event, or the reason it is not one.
std::variant<ScriptEvent, std::string> parseLine(const std::string& line)
{
    auto decoded = model::json::parse(line);
    if (!decoded || !decoded.value().is_object())
        return std::string("not a JSON object");
    const Json& value = decoded.value();
    ScriptEvent parsed{0, {}};
    if (const auto at = value.find("at"); at != value.end()) {
        if (!at->is_number() || !(at->get<double>() >= 0 && at->get<double>() <= maxSeconds))
            return std::string("\"at\" must be a number of seconds from 0 to 1000000000");
        parsed.at = *at;
    }
    const auto integer = [&value](const char* name, std::int64_t min,
                                  std::uint64_t max) -> std::variant<std::uint64_t, std::string> {
        const auto it = value.find(name);
        if (it == value.end())
            return std::uint64_t{0};
        const bool fits = it->is_number_unsigned()  ? it->get<std::uint64_t>() <= max
                          : it->is_number_integer() ? it->get<std::int64_t>() >= min
                                                    : false;
        if (!fits) {
            // Appended piece by piece: GCC 12 warns (-Wrestrict) wrongly about literal + string.
            std::string error = "\"";
            error += name;
            error += "\" must be an integer from ";
            error += std::to_string(min);
            error += " to ";
            error += std::to_string(max);
            return error;
        }
        return it->is_number_unsigned() ? it->get<std::uint64_t>()
                                        : static_cast<std::uint64_t>(it->get<std::int64_t>());
    };
    constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();
    constexpr auto int64Max = std::uint64_t{std::numeric_limits<std::int64_t>::max()};
    struct Field {
        const char* name;
        std::int64_t min;
        std::uint64_t max;
    };
    const std::array<Field, 7> fields{{{"type", 0, std::numeric_limits<std::uint32_t>::max()},
                                       {"flags", 0, std::numeric_limits<std::uint64_t>::max()},
                                       {"keyCode", int64Min, int64Max},
                                       {"data1", int64Min, int64Max},
                                       {"sourcePid", int64Min, int64Max},
                                       {"userData", int64Min, int64Max},
                                       {"autorepeat", int64Min, int64Max}}};
    std::array<std::uint64_t, 7> values{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto result = integer(fields[i].name, fields[i].min, fields[i].max);
        if (auto* error = std::get_if<std::string>(&result))
            return *error;
        values[i] = std::get<std::uint64_t>(result);
    }
    auto& event = parsed.event;
    event.type = static_cast<std::uint32_t>(values[0]);
    event.flags = values[1];
    event.keyCode = static_cast<std::int64_t>(values[2]);
    event.data1 = static_cast<std::int64_t>(values[3]);
    event.sourcePid = static_cast<std::int64_t>(values[4]);
    event.userData = static_cast<std::int64_t>(values[5]);
    event.autorepeat = static_cast<std::int64_t>(values[6]);
    return parsed;
}

bool isBlank(const std::string& line)
{
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

} // namespace

std::optional<double> parseSeconds(const std::string& text)
{
    const auto value = model::json::parse(text);
    if (!value || !value.value().is_number() || !std::isfinite(value.value().get<double>()))
        return std::nullopt;
    return value.value().get<double>();
}

ReplayEngine::ReplayEngine(const model::TopRow& topRow, const model::KeyMapping& mapping,
                           double delaySeconds, std::ostream& out)
    : m_out(out), m_monitor(*this, topRow)
{
    const engine::ExecutorContext context{m_queue, *this, *this};
    std::vector<engine::KeyExecutorConfig> executors;
    for (std::size_t i = 0; i < mapping.size(); ++i) {
        const auto wrap = [&](const model::LaunchTarget& target, const char* role) {
            return std::make_unique<RecordingExecutor>(engine::makeExecutor(target, context), i,
                                                       role, *this);
        };
        executors.push_back({wrap(mapping[i].shortPress, "shortPress"),
                             wrap(mapping[i].longPress, "longPress"), wrap(mapping[i].fn, "fn")});
    }
    m_monitor.setExecutors(std::move(executors));
    m_monitor.setLongPressDelay(delaySeconds);
}

bool ReplayEngine::run(std::istream& script, std::ostream& errors)
{
    std::string line;
    std::size_t lineNumber = 0;
    std::size_t eventIndex = 0;
    while (std::getline(script, line)) {
        ++lineNumber;
        if (isBlank(line))
            continue;
        auto parsed = parseLine(line);
        if (auto* error = std::get_if<std::string>(&parsed)) {
            errors << "orvanectl replay: line " << lineNumber << ": " << *error << '\n';
            return false;
        }
        auto& [at, event] = std::get<ScriptEvent>(parsed);
        m_at = at;
        m_now = std::chrono::nanoseconds(std::llround(at.get<double>() * 1e9));
        const engine::Verdict verdict = m_monitor.handleEvent(event);
        Json result = Json::object();
        result["at"] = m_at;
        result["event"] = eventIndex++;
        result["verdict"] = verdict == engine::Verdict::pass ? "pass" : "swallow";
        result["flags"] = event.flags;
        m_out << model::json::toText(result) << '\n';
        m_queue.drain();
    }
    return true;
}

void ReplayEngine::print(const char* what, Json value)
{
    Json line = Json::object();
    line["at"] = m_at;
    line[what] = std::move(value);
    m_out << model::json::toText(line) << '\n';
}

void ReplayEngine::post(const engine::KeyEvent& posted)
{
    // As on a real system, Orvane's own events come back through the monitor; what it lets
    // through (with any flags it puts right) is what reaches the system.
    engine::KeyEvent event = posted;
    m_monitor.handleEvent(event);
    Json printed = Json::object();
    printed["type"] = event.type;
    printed["keyCode"] = event.keyCode;
    printed["flags"] = event.flags;
    printed["autorepeat"] = event.autorepeat;
    printed["data1"] = event.data1;
    printed["userData"] = event.userData;
    print("post", std::move(printed));
}

std::optional<std::string> ReplayEngine::applicationIdAt(const std::string& path)
{
    return path;
}

bool ReplayEngine::hideRunningApplication(const std::string& id)
{
    print("hide", id);
    return true;
}

void ReplayEngine::openApplication(const std::string& path, std::function<void(std::string)>)
{
    print("open", path);
}

} // namespace orvane::ctl
