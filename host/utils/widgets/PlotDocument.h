#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QPainter;
class QPrinter;
class QRectF;
class QwtPlot;

namespace Utils {

// Prints a chart: a landscape page with a header line (the plot's title and the time of
// printing) above the plot, scaled to the page width. Normally the user picks a printer or a PDF
// file in a print dialog; with an output file name set the page goes into that PDF file without
// asking. A PDF file is written beside its target and renamed over it, so a failed print leaves
// an older file as it was.
class PlotDocument : public QObject
{
    Q_OBJECT
public:
    explicit PlotDocument(QwtPlot* plot, QObject* parent = nullptr);

    // Non-empty: vPrintDocument writes a PDF there instead of opening the print dialog.
    void setOutputFileName(const QString& fileName) { m_outputFileName = fileName; }
    QString outputFileName() const { return m_outputFileName; }
    // Why the last print failed; empty after a successful or cancelled one.
    QString errorString() const { return m_error; }

Q_SIGNALS:
    // The page could not be printed or its file not written.
    void printFailed(const QString& error);

public Q_SLOTS:
    void vPrintDocument();

private:
    void writePdf(const QString& fileName, const QPrinter& settings);
    void renderPage(QPainter& painter, const QRectF& page) const;
    void fail(const QString& error);

    QPointer<QwtPlot> m_plot;
    QString m_outputFileName;
    QString m_error;
};

} // namespace Utils
