#include "ExportDialog.h"

#include "ExportText.h"

#include <utils/ValueOverTime.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Utils {

ExportDialog::ExportDialog(QList<const ValueOverTime*>* data, QList<QString>* names, QWidget* parent,
                           Qt::WindowFlags flags)
    : QDialog(parent, flags), m_data(data), m_names(names), m_tab(new QCheckBox(tr("Tab"), this)),
      m_comma(new QCheckBox(tr("Comma"), this)), m_semicolon(new QCheckBox(tr("Semicolon"), this)),
      m_space(new QCheckBox(tr("Space"), this)), m_other(new QCheckBox(tr("Other:"), this)),
      m_otherText(new QLineEdit(this)), m_preview(new QPlainTextEdit(this)), m_fileName(new QLineEdit(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Export chart data"));
    m_tab->setObjectName(QStringLiteral("tabBox"));
    m_comma->setObjectName(QStringLiteral("commaBox"));
    m_semicolon->setObjectName(QStringLiteral("semicolonBox"));
    m_space->setObjectName(QStringLiteral("spaceBox"));
    m_other->setObjectName(QStringLiteral("otherBox"));
    m_otherText->setObjectName(QStringLiteral("otherDelimiter"));
    m_preview->setObjectName(QStringLiteral("preview"));
    m_fileName->setObjectName(QStringLiteral("fileName"));

    const ValueOverTime* exported = series();
    const QString seriesName = m_names && m_names->size() > 1 ? m_names->at(1) : tr("Value");
    auto* summary =
        new QLabel(tr("%1: %n sample(s)", nullptr, exported ? exported->size() : 0).arg(seriesName), this);

    auto* delimiters = new QGroupBox(tr("Delimiter"), this);
    auto* delimiterLayout = new QGridLayout(delimiters);
    delimiterLayout->addWidget(m_tab, 0, 0);
    delimiterLayout->addWidget(m_comma, 0, 1);
    delimiterLayout->addWidget(m_semicolon, 0, 2);
    delimiterLayout->addWidget(m_space, 1, 0);
    delimiterLayout->addWidget(m_other, 1, 1);
    delimiterLayout->addWidget(m_otherText, 1, 2);
    m_otherText->setMaxLength(8);
    m_semicolon->setChecked(true);

    auto* previewBox = new QGroupBox(tr("Preview"), this);
    auto* previewLayout = new QVBoxLayout(previewBox);
    m_preview->setReadOnly(true);
    m_preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Room for the header and every preview line without scrolling.
    m_preview->setMinimumHeight(m_preview->fontMetrics().lineSpacing() * (PreviewSamples + 3) +
                                2 * m_preview->frameWidth() + 8);
    previewLayout->addWidget(m_preview);

    auto* fileRow = new QHBoxLayout;
    auto* browse = new QPushButton(tr("Browse..."), this);
    browse->setObjectName(QStringLiteral("browse"));
    m_fileName->setPlaceholderText(tr("Choose the target file"));
    fileRow->addWidget(new QLabel(tr("File:"), this));
    fileRow->addWidget(m_fileName, 1);
    fileRow->addWidget(browse);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Export"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(delimiters);
    layout->addWidget(previewBox, 1);
    layout->addLayout(fileRow);
    layout->addWidget(m_buttons);
    resize(520, sizeHint().height());

    for (QCheckBox* box : {m_tab, m_comma, m_semicolon, m_space, m_other})
        connect(box, &QCheckBox::toggled, this, &ExportDialog::vDelimiterUpdated);
    connect(m_otherText, &QLineEdit::textChanged, this, &ExportDialog::vDelimiterUpdated);
    connect(browse, &QPushButton::clicked, this, &ExportDialog::vSelectFileDialog);
    connect(m_fileName, &QLineEdit::textChanged, this, &ExportDialog::setTargetName);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, &ExportDialog::vFinished);

    setTargetName(QString());
    vDelimiterUpdated();
}

void ExportDialog::vDelimiterUpdated()
{
    ExportDelimiterChoice choice;
    choice.tab = m_tab->isChecked();
    choice.comma = m_comma->isChecked();
    choice.semicolon = m_semicolon->isChecked();
    choice.space = m_space->isChecked();
    choice.other = m_other->isChecked();
    choice.otherText = m_otherText->text();
    m_delimiter = exportDelimiter(choice);
    m_preview->setPlainText(QString::fromLatin1(text(PreviewSamples)));
}

void ExportDialog::setUnit(const QString& unit)
{
    m_unit = unit;
    vDelimiterUpdated();
}

void ExportDialog::vSelectFileDialog()
{
    const QString name = QFileDialog::getSaveFileName(
        this, tr("Save As..."), proposedExportFileName(QDate::currentDate()), QStringLiteral("*.csv"));
    // The line edit passes the name on to setTargetName.
    m_fileName->setText(name);
}

void ExportDialog::vFinished(int state)
{
    if (state != QDialog::Accepted || fileName().isEmpty())
        return;
    m_error = saveExportFile(fileName(), text(-1));
    if (!m_error.isEmpty())
        emit exportFailed(m_error);
}

QString ExportDialog::fileName() const
{
    return m_fileName->text();
}

const ValueOverTime* ExportDialog::series() const
{
    return m_data && !m_data->isEmpty() ? m_data->first() : nullptr;
}

QByteArray ExportDialog::text(int maxSamples) const
{
    static const ValueOverTime noSamples;
    const ValueOverTime* data = series();
    const ExportHeader header{m_names && !m_names->isEmpty() ? m_names->at(0) : tr("Time"),
                              m_names && m_names->size() > 1 ? m_names->at(1) : tr("Value"), tr("Unit"),
                              tr("State")};
    return exportText(data ? *data : noSamples, m_delimiter, header, m_unit, maxSamples);
}

void ExportDialog::setTargetName(const QString& name)
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!name.isEmpty());
}

} // namespace Utils
