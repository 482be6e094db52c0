#include "PlotDocument.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>
#include <qwt_text.h>

namespace Utils {

PlotDocument::PlotDocument(QwtPlot* plot, QObject* parent) : QObject(parent), m_plot(plot) {}

void PlotDocument::vPrintDocument()
{
    if (!m_plot)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(tr("Chart"));
    if (!m_outputFileName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_outputFileName);
        renderPage(printer);
        return;
    }
    QPrintDialog dialog(&printer, m_plot);
    dialog.setWindowTitle(tr("Print chart"));
    if (dialog.exec() == QDialog::Accepted)
        renderPage(printer);
}

void PlotDocument::renderPage(QPrinter& printer) const
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
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

    // Keep the plot's on-screen proportions so that scales and marks look as the user saw them.
    const QSizeF plotSize = m_plot->size().isEmpty() ? QSizeF(4, 3) : QSizeF(m_plot->size());
    const QSizeF target = plotSize.scaled(area.width(), area.height() - headerHeight, Qt::KeepAspectRatio);
    const QRectF plotRect(area.left(), header.bottom(), target.width(), target.height());

    QwtPlotRenderer renderer;
    // Paper stays white; the canvas keeps its colours so that curves stay visible on it.
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
    // The title is already in the header line.
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardTitle);
    renderer.setLayoutFlag(QwtPlotRenderer::FrameWithScales);
    renderer.render(m_plot, &painter, plotRect);
    painter.end();
}

} // namespace Utils
