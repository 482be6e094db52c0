// The settings-file reader on a file of arbitrary bytes, and the history
// text it hands to the distance plot.
#include "FuzzSupport.h"

#include <tools/SettingsFile.h>
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
    if (content.hasChartData) {
        std::vector<double> x;
        std::vector<double> y;
        Utils::Charts::parseHistory(content.chartData, ';', x, y);
    }
    return 0;
}
