#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QPrinter;
class QwtPlot;

namespace Utils {

// Prints a chart: a landscape page with a header line (the plot's title and the time of
// printing) above the plot, scaled to the page width. Normally the user picks the printer in a
// print dialog; with an output file name set the page goes into that PDF file without asking.
class PlotDocument : public QObject
{
    Q_OBJECT
public:
    explicit PlotDocument(QwtPlot* plot, QObject* parent = nullptr);

    // Non-empty: vPrintDocument writes a PDF there instead of opening the print dialog.
    void setOutputFileName(const QString& fileName) { m_outputFileName = fileName; }
    QString outputFileName() const { return m_outputFileName; }

public Q_SLOTS:
    void vPrintDocument();

private:
    void renderPage(QPrinter& printer) const;

    QPointer<QwtPlot> m_plot;
    QString m_outputFileName;
};

} // namespace Utils
