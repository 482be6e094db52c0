#pragma once

// Drags on a plot's canvas as a user does: press on a value, move with the
// button held, let go on another value. The events go to the canvas as the
// window system delivers them, so whatever filters the canvas sees them.

#include <qwt_plot.h>
#include <qwt_scale_map.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

inline void dragOnCanvas(QwtPlot* plot, Qt::Orientation along, double from, double to)
{
    plot->replot();
    QWidget* canvas = plot->canvas();
    const QwtScaleMap map = plot->canvasMap(along == Qt::Vertical ? QwtPlot::yLeft : QwtPlot::xBottom);
    auto at = [&](double value) {
        const int pixel = qRound(map.transform(value));
        return along == Qt::Vertical ? QPoint(canvas->width() / 3, pixel)
                                     : QPoint(pixel, canvas->height() / 2);
    };
    auto send = [canvas](QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
                         Qt::MouseButtons held) {
        QMouseEvent event(type, pos, canvas->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    };
    send(QEvent::MouseButtonPress, at(from), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, (at(from) + at(to)) / 2, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, at(to), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at(to), Qt::LeftButton, Qt::NoButton);
}
