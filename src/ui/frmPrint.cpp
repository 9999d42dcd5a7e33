#include "ui/frmPrint.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace merivane {

frmPrint::frmPrint(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrint"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    m_setup = new QGroupBox(this);
    m_setup->setObjectName(QStringLiteral("fraPrintSetup"));
    auto* form = new QFormLayout(m_setup);
    m_printers = new QComboBox(m_setup);
    m_printers->setObjectName(QStringLiteral("cmbPrinters"));
    m_printers->addItems(QPrinterInfo::availablePrinterNames());
    m_printers->addItem(PdfEntry());
    form->addRow(QStringLiteral("Printer:"), m_printers);
    m_copies = new QComboBox(m_setup);
    m_copies->setObjectName(QStringLiteral("cmbCopies"));
    m_copies->setEditable(true);
    m_copies->setInsertPolicy(QComboBox::NoInsert);
    for (int n = 1; n <= 10; ++n) {
        m_copies->addItem(QString::number(n));
    }
    form->addRow(QStringLiteral("Copies:"), m_copies);
    m_bw = new QCheckBox(QStringLiteral("Print in Black && White"), m_setup);
    m_bw->setObjectName(QStringLiteral("chkBW"));
    form->addRow(m_bw);
    auto* orientation = new QHBoxLayout;
    m_portrait = new QRadioButton(QStringLiteral("&Portrait"), m_setup);
    m_portrait->setObjectName(QStringLiteral("optPortrait"));
    m_landscape = new QRadioButton(QStringLiteral("&Landscape"), m_setup);
    m_landscape->setObjectName(QStringLiteral("optLandscape"));
    orientation->addWidget(m_portrait);
    orientation->addWidget(m_landscape);
    orientation->addStretch(1);
    form->addRow(orientation);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), m_setup);
    ok->setObjectName(QStringLiteral("cmdOKsetup"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), m_setup);
    cancel->setObjectName(QStringLiteral("cmdCancelSetup"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    layout->addWidget(m_setup);

    m_status = new QGroupBox(this);
    m_status->setObjectName(QStringLiteral("fraPrintStatus"));
    auto* statusLayout = new QVBoxLayout(m_status);
    m_status1 = new QLabel(m_status);
    m_status1->setObjectName(QStringLiteral("lblStatus1"));
    m_status2 = new QLabel(m_status);
    m_status2->setObjectName(QStringLiteral("lblStatus2"));
    auto* stop = new QPushButton(QStringLiteral("Cancel"), m_status);
    stop->setObjectName(QStringLiteral("cmdCancel"));
    statusLayout->addWidget(m_status1);
    statusLayout->addWidget(m_status2);
    statusLayout->addWidget(stop, 0, Qt::AlignRight);
    layout->addWidget(m_status);
    m_status->hide();

    m_printer.Printer = QPrinterInfo::defaultPrinterName();
    if (m_printer.Printer.isEmpty()) {
        m_printer.Printer = PdfEntry();
    }
    QObject::connect(ok, &QPushButton::clicked, this, [this] { OkSetup(); });
    QObject::connect(cancel, &QPushButton::clicked, this, [this] { Cancel(); });
    QObject::connect(stop, &QPushButton::clicked, this, [this] { Cancel(); });
}

void frmPrint::ShowPrinterSetup(const QString& printer, int copies, bool blackAndWhite, int orientation,
                                bool lockOrientation) {
    setWindowTitle(QStringLiteral("Printer Setup"));
    m_status->hide();
    m_setup->show();
    const int index = m_printers->findText(printer);
    m_printers->setCurrentIndex(index >= 0 ? index : m_printers->count() - 1);
    m_copies->setEditText(QString::number(copies));
    m_bw->setChecked(blackAndWhite);
    (orientation == kLandscape ? m_landscape : m_portrait)->setChecked(true);
    m_portrait->setEnabled(!lockOrientation);
    m_landscape->setEnabled(!lockOrientation);
    m_cancel = false;
}

void frmPrint::ShowPrinterStatus(const QString& line1, const QString& line2) {
    setWindowTitle(QStringLiteral("Printer Status"));
    m_setup->hide();
    m_status->show();
    m_status1->setText(line1);
    m_status2->setText(line2);
    m_cancel = false;
}

void frmPrint::ShowPrinterStatus2(const QString& line2) {
    m_status2->setText(line2);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmPrint::OkSetup() {
    m_printer.Printer = m_printers->currentText();
    bool numeric = false;
    const double copies = m_copies->currentText().trimmed().toDouble(&numeric);
    // Anything but 1 to 99 copies leaves the number as it was.
    if (numeric && static_cast<int>(copies) > 0 && static_cast<int>(copies) < 100) {
        m_printer.Copies = static_cast<int>(copies);
    }
    m_printer.BlackAndWhite = m_bw->isChecked();
    m_printer.Orientation = m_landscape->isChecked() ? kLandscape : kPortrait;
    m_cancel = false;
    accept();
}

void frmPrint::Cancel() {
    m_cancel = true;
    reject();
}

}  // namespace merivane
