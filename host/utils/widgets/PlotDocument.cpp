#include "PlotDocument.h"

#include <utils/FileReplace.h>

#include <QBuffer>
#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>
#include <qwt_text.h>

namespace Utils {

PlotDocument::PlotDocument(QwtPlot* plot, QObject* parent) : QObject(parent), m_plot(plot) {}

void PlotDocument::vPrintDocument()
{
    m_error.clear();
    if (!m_plot)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(tr("Chart"));
    if (!m_outputFileName.isEmpty()) {
        writePdf(m_outputFileName, printer);
        return;
    }
    QPrintDialog dialog(&printer, m_plot);
    dialog.setWindowTitle(tr("Print chart"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The dialog's "print to file" is a PDF file like any other this program writes.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        writePdf(printer.outputFileName(), printer);
        return;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        fail(tr("Cannot print on %1.").arg(printer.printerName()));
        return;
    }
    renderPage(painter, printer.pageLayout().paintRectPixels(printer.resolution()));
}

// The page is made in memory and then saved in one go, through a temporary file beside the target.
void PlotDocument::writePdf(const QString& fileName, const QPrinter& settings)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(settings.resolution());
        writer.setPageLayout(settings.pageLayout());
        writer.setTitle(settings.docName());
        QPainter painter;
        if (!painter.begin(&writer)) {
            fail(tr("Cannot print to %1.").arg(fileName));
            return;
        }
        renderPage(painter, writer.pageLayout().paintRectPixels(writer.resolution()));
    }
    const QString problem = replaceFileContent(fileName, pdf.data());
    if (!problem.isEmpty())
        fail(tr("Cannot print to %1: %2").arg(fileName, problem));
}

void PlotDocument::renderPage(QPainter& painter, const QRectF& page) const
{
    const QRectF area(0, 0, page.width(), page.height());

    QFont font = painter.font();
    font.setPointSizeF(11);
    painter.setFont(font);
    const qreal headerHeight = painter.fontMetrics().height() * 2.0;
    const QString title = m_plot->title().text().isEmpty() ? tr("Chart") : m_plot->title().text();
    const QString printed = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    const QRectF header(area.left(), area.top(), area.width(), headerHeight);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, printed);

    // The plot fills the page below the header: on screen it is often a wide, low strip, which
    // printed in its own proportions would leave most of the page empty.
    const QRectF plotRect(area.left(), header.bottom(), area.width(), area.height() - headerHeight);

    QwtPlotRenderer renderer;
    // Paper stays white; the canvas keeps its colours so that curves stay visible on it.
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
    // The title is already in the header line.
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardTitle);
    renderer.setLayoutFlag(QwtPlotRenderer::FrameWithScales);
    renderer.render(m_plot, &painter, plotRect);
    painter.end();
}

void PlotDocument::fail(const QString& error)
{
    m_error = error;
    emit printFailed(error);
}

} // namespace Utils
