// The settings-file reader on a file of arbitrary bytes, the parameter text
// and its numbers as the window applies them, and the history text it hands
// to the distance plot. A file written from what was read reads back the same.
#include "FuzzSupport.h"

#include <tools/SettingsFile.h>
#include <utils/ValueOverTime.h>
#include <utils/charts/HistoryText.h>

#include <vector>

namespace Core = NimbarSensorPlugin::Core;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Fuzz::ScratchFile scratch(".kvs");
    const QString path = QString::fromStdString(scratch.write(data, size));

    Core::SettingsFileContent content;
    content.propertyTreeData = "untouched";
    const Core::SettingsFileStatus status = Core::readSettingsFile(path, "RT5-350-M18", &content);
    if (status == Core::SettingsFileStatus::Unreadable)
        Fuzz::fail("a file just written is unreadable");
    if (status != Core::SettingsFileStatus::Loaded) {
        if (content.propertyTreeData != "untouched")
            Fuzz::fail("a refused file changed the content");
        return 0;
    }
    if (content.hasPropertyTreeData) {
        const std::vector<Core::SettingsEntry> entries = Core::parseParameterText(content.propertyTreeData);
        for (const Core::SettingsEntry& entry : entries) {
            Core::settingsInt(entry.value);
            Core::settingsDouble(entry.value);
            Core::settingsTextValue(entry.id, entry.value);
        }
        const std::string text =
            Core::settingsFileText("RT5-350-M18", content.propertyTreeData, content.chartData);
        const std::string& again = scratch.write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        Core::SettingsFileContent reread;
        if (Core::readSettingsFile(QString::fromStdString(again), "RT5-350-M18", &reread) !=
                Core::SettingsFileStatus::Loaded ||
            reread.propertyTreeData != content.propertyTreeData || reread.chartData != content.chartData)
            Fuzz::fail("a settings file written from a read one does not read back the same");
    }
    if (content.hasChartData) {
        Utils::ValueOverTime history;
        Utils::Charts::parseHistory(content.chartData, ';', history);
    }
    return 0;
}
