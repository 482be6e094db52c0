// A settings file of arbitrary bytes, its parameter text as the window applies
// it and its history text as the distance plot takes it. A file written from
// what was read, and a history written from what was parsed, read back the same.
#include "FuzzSupport.h"

#include <tools/SettingsFile.h>
#include <utils/ValueOverTime.h>
#include <utils/charts/HistoryText.h>

#include <cmath>

namespace Core = NimbarSensorPlugin::Core;

namespace {

bool same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

void checkHistory(const std::string& text)
{
    Utils::ValueOverTime history;
    history.append(-1.0, -1.0);
    if (!Utils::Charts::parseHistory(text, ';', history)) {
        if (history.size() != 1 || history.x(0) != -1.0 || history.y(0) != -1.0)
            Fuzz::fail("a refused text changed the history");
        return;
    }
    Utils::ValueOverTime again;
    if (!Utils::Charts::parseHistory(Utils::Charts::formatHistory(history), ';', again) ||
        again.size() != history.size())
        Fuzz::fail("a written history does not read back");
    for (int i = 0; i < history.size(); ++i) {
        if ((history.state(i) == Utils::SampleState::Value) == std::isnan(history.y(i)))
            Fuzz::fail("a sample's state disagrees with its value");
        if (!same(history.x(i), again.x(i)) || !same(history.y(i), again.y(i)) ||
            history.state(i) != again.state(i))
            Fuzz::fail("a written history reads back with other samples");
        if (history.lowerBound(history.x(i)) > i || history.upperBound(history.x(i)) <= i)
            Fuzz::fail("a time lookup misses its own sample");
    }
}

} // namespace

void Fuzz::run(const QByteArray& input)
{
    Core::SettingsFileContent content;
    content.propertyTreeData = "untouched";
    const Core::SettingsFileStatus status =
        Core::readSettingsFile(Fuzz::scratchFile(input), "RT5-350-M18", &content);
    if (status == Core::SettingsFileStatus::Unreadable)
        Fuzz::fail("a file just written is unreadable");
    if (status != Core::SettingsFileStatus::Loaded) {
        if (content.propertyTreeData != "untouched")
            Fuzz::fail("a refused file changed the content");
        return;
    }
    if (content.hasChartData)
        checkHistory(content.chartData);
    if (content.hasPropertyTreeData) {
        for (const Core::SettingsEntry& entry : Core::parseParameterText(content.propertyTreeData)) {
            Core::settingsInt(entry.value);
            Core::settingsDouble(entry.value);
            Core::settingsTextValue(entry.id, entry.value);
        }
        const std::string text =
            Core::settingsFileText("RT5-350-M18", content.propertyTreeData, content.chartData);
        Core::SettingsFileContent reread;
        if (Core::readSettingsFile(Fuzz::scratchFile(QByteArray::fromStdString(text)), "RT5-350-M18",
                                   &reread) != Core::SettingsFileStatus::Loaded ||
            reread.propertyTreeData != content.propertyTreeData || reread.chartData != content.chartData)
            Fuzz::fail("a settings file written from a read one does not read back the same");
    }
}
