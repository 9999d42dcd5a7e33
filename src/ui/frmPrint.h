#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace merivane {

// The print dialog: which printer (or a PDF file), how many copies, black and white, the
// orientation; and a status mode while a listing prints.
class frmPrint final : public QDialog {
  public:
    // The entry that is always there: the listing written to a PDF file.
    static QString PdfEntry() { return QStringLiteral("PDF file"); }
    static constexpr int kPortrait = 1;
    static constexpr int kLandscape = 2;

    // The printer as the dialog leaves it.
    struct PrinterSetup {
        QString Printer;
        int Copies = 1;
        bool BlackAndWhite = true;
        int Orientation = kPortrait;
    };

    explicit frmPrint(QWidget* parent = nullptr);

    void ShowPrinterSetup(const QString& printer, int copies, bool blackAndWhite, int orientation,
                          bool lockOrientation);
    void ShowPrinterStatus(const QString& line1, const QString& line2);
    void ShowPrinterStatus2(const QString& line2);
    bool CancelRequested() const { return m_cancel; }
    const PrinterSetup& Printer() const { return m_printer; }

    // The buttons of the setup mode.
    void OkSetup();
    void Cancel();

  private:
    bool m_cancel = false;
    PrinterSetup m_printer;
    QGroupBox* m_setup = nullptr;
    QGroupBox* m_status = nullptr;
    QComboBox* m_printers = nullptr;
    QComboBox* m_copies = nullptr;
    QCheckBox* m_bw = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QLabel* m_status1 = nullptr;
    QLabel* m_status2 = nullptr;
};

}  // namespace merivane
