#include "CommissioningReport.h"

#include "parameters/ParameterModel.h"
#include "parameters/ParameterTree.h"
#include "parameters/ValueCodec.h"

#include <utils/FileReplace.h>
#include <utils/widgets/ButtonManager.h>

#include <qtpropertybrowser.h>
#include <qtpropertymanager.h>

#include <QBuffer>
#include <QLocale>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

namespace NimbarSensorPlugin::Core {

namespace {

// Rows that describe a group or start an action hold no value to record.
bool holdsValue(const ParameterTree& tree, const QtProperty* property)
{
    const QtAbstractPropertyManager* manager = property->propertyManager();
    return manager != tree.managers().groups && manager != tree.managers().buttons;
}

// Groups below the root are headed by their own caption, nested ones by
// their path; rows straight below the root by the root's caption.
void collectGroup(const ParameterTree& tree, const ParameterModel& model, const FileValues& fileValues,
                  QtProperty* parent, const QString& caption, QList<ReportGroup>& groups)
{
    const bool atRoot = parent == tree.root();
    ReportGroup group{caption, {}};
    QList<QPair<QtProperty*, QString>> subGroups;
    QList<QtProperty*> pending = parent->subProperties();
    while (!pending.isEmpty()) {
        QtProperty* property = pending.takeFirst();
        if (property->propertyManager() == tree.managers().groups) {
            subGroups.append({property, atRoot ? property->propertyName()
                                               : caption + QStringLiteral(" › ") + property->propertyName()});
            continue;
        }
        // A row's own sub-rows follow it, as the tree shows them below it.
        pending = property->subProperties() + pending;
        if (!holdsValue(tree, property))
            continue;
        const QString id = property->propertyId();
        ReportRow row;
        // The value carries the unit.
        row.caption = splitCaptionUnit(property->propertyName()).name;
        row.value = tree.valueText(property);
        const RowState state = model.contains(id) ? model.state(id) : RowState::NotRead;
        row.notRead = state == RowState::NotRead || state == RowState::ReadFailed;
        row.mark = tree.rowMark(id);
        row.differs = fileValues.contains(id);
        row.fileValue = fileValues.value(id);
        group.rows.append(row);
    }
    if (!group.rows.isEmpty())
        groups.append(group);
    for (const auto& [property, path] : qAsConst(subGroups))
        collectGroup(tree, model, fileValues, property, path, groups);
}

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString rowNote(const ReportRow& row, const QString& comparedFile)
{
    QStringList notes;
    // The mark of a failed read says so already.
    if (!row.mark.isEmpty())
        notes << row.mark;
    else if (row.notRead)
        notes << CommissioningReport::tr("not read");
    if (row.differs && !comparedFile.isEmpty())
        notes << CommissioningReport::tr("differs from %1 (%2 there)").arg(comparedFile, row.fileValue);
    return notes.join(QStringLiteral("; "));
}

} // namespace

QList<ReportGroup> CommissioningReport::groups(const ParameterTree& tree, const ParameterModel& model,
                                               const FileValues& fileValues)
{
    QList<ReportGroup> groups;
    if (tree.root())
        collectGroup(tree, model, fileValues, tree.root(), tree.root()->propertyName(), groups);
    return groups;
}

QString CommissioningReport::html(const ReportContent& content, const QString& chartName)
{
    QString text;
    text += QStringLiteral("<html><body>");
    text +=
        QStringLiteral("<h1>%1</h1>").arg(escaped(tr("Commissioning report: %1").arg(content.sensorName)));

    QList<QPair<QString, QString>> head = content.identity;
    head << qMakePair(tr("Port"), content.port)
         << qMakePair(tr("Date and time"), QLocale().toString(content.printed, QLocale::LongFormat))
         << qMakePair(tr("Program"), content.program);
    text += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    for (const auto& [caption, value] : qAsConst(head))
        text +=
            QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(escaped(caption), escaped(value));
    text += QStringLiteral("</table>");

    QString comparison;
    if (content.comparedFile.isEmpty())
        comparison =
            tr("No settings file was saved or opened in this window: the values are compared with none.");
    else if (!content.comparisonProblem.isEmpty())
        comparison = tr("The values could not be compared with %1, the settings file last saved or opened in "
                        "this window: %2")
                         .arg(content.comparedFile, content.comparisonProblem);
    else
        comparison =
            tr("The values are compared with %1, the settings file last saved or opened in this window.")
                .arg(content.comparedFile);
    text += QStringLiteral("<h2>%1</h2><p>%2</p>").arg(escaped(tr("Parameters")), escaped(comparison));
    for (const ReportGroup& group : content.groups) {
        text += QStringLiteral("<h3>%1</h3>").arg(escaped(group.caption));
        text += QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">");
        text += QStringLiteral("<tr><th align=\"left\">%1</th><th align=\"left\">%2</th>"
                               "<th align=\"left\">%3</th></tr>")
                    .arg(escaped(tr("Parameter")), escaped(tr("Value")), escaped(tr("Note")));
        for (const ReportRow& row : group.rows)
            text += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                        .arg(escaped(row.caption), escaped(row.value),
                             escaped(rowNote(row, content.comparedFile)));
        text += QStringLiteral("</table>");
    }

    if (!chartName.isEmpty())
        text += QStringLiteral("<h2>%1</h2><p><img src=\"%2\" width=\"600\"></p>")
                    .arg(escaped(tr("Distance over time")), escaped(chartName));
    text += QStringLiteral("</body></html>");
    return text;
}

QString CommissioningReport::writePdf(const QString& fileName, const QString& html, const QImage& chart)
{
    QTextDocument document;
    // Without ligatures the PDF's text reads back as written: searching it
    // for a caption finds it.
    QFont font = document.defaultFont();
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    if (!chart.isNull())
        document.addResource(QTextDocument::ImageResource, QUrl(chartName()), chart);
    document.setHtml(html);

    // The pages are made in memory and saved in one go, so that a failure
    // half-way never leaves a cut report in place of an older one.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        // The document keeps its own margins of two centimetres on the page.
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setTitle(tr("Commissioning report"));
        writer.setCreator(QCoreApplication::applicationName());
        document.print(&writer);
    }
    if (pdf.data().isEmpty())
        return tr("The report could not be written to %1: no page could be laid out.").arg(fileName);
    const QString problem = Utils::replaceFileContent(fileName, pdf.data());
    if (!problem.isEmpty())
        return tr("The report could not be written to %1: %2").arg(fileName, problem);
    return QString();
}

} // namespace NimbarSensorPlugin::Core
