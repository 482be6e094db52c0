#pragma once

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace Utils {

class ValueOverTime;

// Exports a chart history as a delimiter-separated text file. The user ticks the separators
// (several may be combined), sees the first lines of the file in a preview, picks the target
// file, and the file is written when the dialog is accepted. The first series of the list is
// exported; the name list's first entry heads the time column, its second names the series in
// the dialog and heads the value column.
class ExportDialog : public QDialog
{
    Q_OBJECT
public:
    // Lines of data the preview shows at most.
    static constexpr int PreviewSamples = 10;

    // Neither list is owned; both must outlive the dialog.
    ExportDialog(QList<const ValueOverTime*>* data, QList<QString>* names, QWidget* parent = nullptr,
                 Qt::WindowFlags flags = Qt::WindowFlags());

    // Kept for callers that configure it; the export writes whole numbers regardless.
    void setPrecision(int precision) { m_precision = precision; }
    int precision() const { return m_precision; }
    // The unit written beside every value.
    void setUnit(const QString& unit);

    QByteArray delimiter() const { return m_delimiter; }
    QString fileName() const;
    // Why the last export failed; empty after a successful one.
    QString errorString() const { return m_error; }

Q_SIGNALS:
    // The file could not be written; the previous file at the target, if any, is untouched.
    void exportFailed(const QString& error);

public Q_SLOTS:
    // Rebuilds the separator from the ticked boxes and refreshes the preview.
    void vDelimiterUpdated();
    // Asks for the target file with a save dialog.
    void vSelectFileDialog();
    // Writes the file when state is Accepted and a target is set; a failure is
    // told by exportFailed() and errorString().
    void vFinished(int state);

private:
    const ValueOverTime* series() const;
    QByteArray text(int maxSamples) const;
    void setTargetName(const QString& name);

    QList<const ValueOverTime*>* m_data;
    QList<QString>* m_names;
    int m_precision = 0;
    QString m_unit;
    QByteArray m_delimiter;
    QString m_error;

    QCheckBox* m_tab;
    QCheckBox* m_comma;
    QCheckBox* m_semicolon;
    QCheckBox* m_space;
    QCheckBox* m_other;
    QLineEdit* m_otherText;
    QPlainTextEdit* m_preview;
    QLineEdit* m_fileName;
    QDialogButtonBox* m_buttons;
};

} // namespace Utils
