#include "SettingsFile.h"

#include "catalogue/DescriptionDocument.h"

#include <extensionsystem/FileChecks.h>
#include <utils/FileReplace.h>

#include <tinyxml2.h>

#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <memory>
#include <sstream>
#include <string_view>

#include <locale.h>

#include <unistd.h>

namespace NimbarSensorPlugin::Core {

namespace {

bool attributeEquals(const tinyxml2::XMLElement* element, const char* name, const std::string& expected)
{
    const char* value = element->Attribute(name);
    return value && expected == value;
}

} // namespace

std::string settingsIntText(int value)
{
    return std::to_string(value);
}

std::string settingsDoubleText(double value)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text.setf(std::ios::fixed);
    text.precision(6);
    text << value;
    return text.str();
}

int settingsInt(const std::string& text)
{
    // strtol's digits do not depend on the locale; out-of-range text is
    // clamped instead of overflowing.
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : int(value);
}

double settingsDouble(const std::string& text)
{
    // The desktop's locale is in force in a Qt program; the file's numbers
    // are read in the C locale's. A "nan" would confuse every range check.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const double value = ::strtod_l(text.c_str(), nullptr, cLocale);
    return std::isnan(value) ? 0.0 : value;
}

std::optional<double> strictSettingsNumber(const std::string& text)
{
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = ::strtod_l(start, &end, cLocale);
    if (end == start || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0' ||
        std::string_view(start, size_t(end - start)).find_first_of("xX") != std::string_view::npos)
        return std::nullopt;
    return value;
}

QString settingsTextValue(const std::string& id, const std::string& value)
{
    const QString text = QString::fromStdString(value);
    if (id.find("Tag") != std::string::npos)
        return text;
    // The other texts of the sensor are ASCII: their bytes are taken as
    // Latin-1 and read back as UTF-8, so only ASCII comes through unchanged.
    return QString::fromUtf8(text.toLatin1());
}

std::string parameterText(const std::vector<SettingsEntry>& entries)
{
    std::string text;
    for (const SettingsEntry& entry : entries)
        text += entry.id + '=' + entry.value + ';';
    return text;
}

std::vector<SettingsEntry> parseParameterText(const std::string& text)
{
    std::vector<SettingsEntry> entries;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string piece = text.substr(start, end - start);
        const std::size_t equals = piece.find('=');
        SettingsEntry entry;
        entry.id = piece.substr(0, equals);
        if (equals != std::string::npos) {
            const std::size_t second = piece.find('=', equals + 1);
            entry.value = piece.substr(equals + 1,
                                       second == std::string::npos ? std::string::npos : second - equals - 1);
        }
        entries.push_back(std::move(entry));
        start = end + 1;
    }
    return entries;
}

std::string settingsFileText(const std::string& sensorName, const std::string& parameterText,
                             const std::string& chartText)
{
    tinyxml2::XMLDocument document;
    document.InsertFirstChild(document.NewDeclaration("xml version=\"1.0\" encoding=\"utf-8\""));
    tinyxml2::XMLElement* root = document.NewElement("root");
    document.InsertEndChild(root);
    root->SetAttribute("pluginid", familyId);
    root->SetAttribute("sensorid", sensorName.c_str());
    tinyxml2::XMLElement* settings = root->InsertNewChildElement("pluginsettings");
    settings->InsertNewChildElement("propertytreedata")->SetAttribute("data", parameterText.c_str());
    settings->InsertNewChildElement("chartdata")->SetAttribute("data", chartText.c_str());
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    // The printer counts the closing zero in its size.
    return std::string(printer.CStr(), std::size_t(printer.CStrSize() - 1));
}

QString saveSettingsFile(const QString& path, const std::string& text)
{
    return Utils::replaceFileContent(path, QByteArray::fromStdString(text));
}

QString proposedSettingsFileName(const QString& sensorName, const QDate& date)
{
    return sensorName + date.toString(QStringLiteral("'-settings-'dd-MM-yyyy'.kvs'"));
}

QString checkReadableRegularFile(const QString& path)
{
    QString problem;
    const int fd =
        ExtensionSystem::openRegularFile(path, ExtensionSystem::largestSettingsFileBytes, &problem);
    if (fd >= 0)
        ::close(fd);
    return problem;
}

SettingsFileStatus readSettingsFile(const QString& path, const std::string& sensorName,
                                    SettingsFileContent* content)
{
    QString problem;
    const int fd =
        ExtensionSystem::openRegularFile(path, ExtensionSystem::largestSettingsFileBytes, &problem);
    if (fd < 0)
        return SettingsFileStatus::Unreadable;
    std::unique_ptr<FILE, int (*)(FILE*)> file(::fdopen(fd, "rb"), &std::fclose);
    if (!file) {
        ::close(fd);
        return SettingsFileStatus::Unreadable;
    }

    tinyxml2::XMLDocument document;
    if (document.LoadFile(file.get()) != tinyxml2::XML_SUCCESS)
        return SettingsFileStatus::Corrupted;
    const tinyxml2::XMLElement* root = document.FirstChildElement("root");
    if (!root)
        return SettingsFileStatus::Corrupted;
    if (!attributeEquals(root, "pluginid", familyId) || !attributeEquals(root, "sensorid", sensorName))
        return SettingsFileStatus::ForeignSensor;

    *content = SettingsFileContent();
    const tinyxml2::XMLElement* settings = root->FirstChildElement("pluginsettings");
    if (!settings)
        return SettingsFileStatus::Loaded;
    content->hasPluginSettings = true;
    if (const tinyxml2::XMLElement* tree = settings->FirstChildElement("propertytreedata")) {
        content->hasPropertyTreeData = true;
        content->propertyTreeData = tree->Attribute("data") ? tree->Attribute("data") : "";
    }
    if (const tinyxml2::XMLElement* chart = settings->FirstChildElement("chartdata")) {
        content->hasChartData = true;
        content->chartData = chart->Attribute("data") ? chart->Attribute("data") : "";
    }
    return SettingsFileStatus::Loaded;
}

} // namespace NimbarSensorPlugin::Core
