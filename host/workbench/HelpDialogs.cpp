#include "HelpDialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QVBoxLayout>

QString markdownSection(const QString& markdown, const QString& heading)
{
    const QStringList lines = markdown.split('\n');
    QStringList section;
    bool inside = false;
    for (const QString& line : lines) {
        if (line.startsWith("## ")) {
            if (inside)
                break;
            inside = line.mid(3).trimmed() == heading;
        }
        if (inside && !line.trimmed().startsWith("!["))
            section << line;
    }
    // Blank lines a picture left behind collapse into one.
    return section.join('\n').replace(QRegularExpression("\n{3,}"), "\n\n").trimmed();
}

void showUsingItDialog(QWidget* parent)
{
    // The guide lives in the workbench's static library: its resource is
    // linked in only when named.
    Q_INIT_RESOURCE(help);
    QFile readme(":/help/README.md");
    const QString text = readme.open(QIODevice::ReadOnly) ? QString::fromUtf8(readme.readAll()) : QString();
    QDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("HelpDialogs", "Using the IO-Link Sensor Workbench"));
    auto* browser = new QTextBrowser(&dialog);
    browser->setOpenExternalLinks(true);
    const QString section = markdownSection(text, "Using it");
    if (section.isEmpty())
        browser->setPlainText(
            QCoreApplication::translate("HelpDialogs", "The user guide is missing from this build."));
    else
        browser->setMarkdown(section);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    dialog.resize(760, 560);
    dialog.exec();
}

void showAboutBox(QWidget* parent, const AboutFacts& facts)
{
    const QString text =
        QCoreApplication::translate(
            "HelpDialogs", "<b>IO-Link Sensor Workbench</b> %1<br><br>Plug-in: %2 %3<br>Sensor description "
                           "document: %4")
            .arg(QCoreApplication::applicationVersion().toHtmlEscaped(), facts.pluginName.toHtmlEscaped(),
                 facts.pluginVersion.toHtmlEscaped(), facts.descriptionDocument.toHtmlEscaped());
    QMessageBox::about(parent, QCoreApplication::translate("HelpDialogs", "About IO-Link Sensor Workbench"),
                       text);
}
