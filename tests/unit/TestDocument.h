#pragma once

#include <QTemporaryDir>

#include <fstream>
#include <string>

// Writes description documents for one test into a temporary folder.
class TestDocument
{
public:
    // A family document whose sensorList holds entries (raw XML).
    static std::string family(const std::string& entries, const std::string& documentId = "IoLinkMzRT5family")
    {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<document>\n  <documentId>" + documentId +
               "</documentId>\n  <sensorList>\n" + entries + "  </sensorList>\n</document>\n";
    }

    static std::string entry(const std::string& id, const std::string& name, const std::string& extra = "")
    {
        return "    <sensor><id>" + id + "</id><name>" + name + "</name>" + extra + "</sensor>\n";
    }

    // Writes text to a file of the folder and returns its path.
    std::string write(const std::string& text, const std::string& fileName = "IoLinkMzRT5family.xml")
    {
        const std::string path = m_dir.filePath(QString::fromStdString(fileName)).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::string missingPath() const { return m_dir.filePath("absent.xml").toStdString(); }

private:
    QTemporaryDir m_dir;
};
