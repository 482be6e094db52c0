// The settings-file reader on a file of arbitrary bytes, and the parameter
// text and its numbers as the window applies them (the history text it holds
// has a target of its own). A file written from what was read reads back the
// same.
#include "FuzzSupport.h"

#include <tools/SettingsFile.h>

namespace Core = NimbarSensorPlugin::Core;

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
