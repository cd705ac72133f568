#pragma once
// The Insert Text dialog: up to three lines of text, a font (automatic: bold
// when the text fits it, else tiny), the 72 x 14 result enlarged as it will
// look, and why the text can't be drawn when it doesn't fit. OK puts the
// text into the picture as one step that Undo takes back.
#include "graphic/textlogo.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace logo {

class LogoDocument;

class InsertTextDialog : public QDialog {
    Q_OBJECT
public:
    explicit InsertTextDialog(LogoDocument &doc, QWidget *parent = nullptr);

    static constexpr int kLineCount = 3;
    static constexpr int kPreviewScale = 4;   // screen pixels per picture pixel

    QLineEdit *lineEdits[kLineCount];   // "txtLine1" to "txtLine3"
    QComboBox *fontList;               // Automatic, Bold, Tiny
    QLabel *previewLabel;                  // the result, enlarged
    QLabel *refusalLabel;               // why the text doesn't fit; empty when it does
    QPushButton *okButton;
    QPushButton *cancelButton;

    QStringList lines() const;
    // The text drawn with the chosen font, as OK would insert it.
    const TextLogo &result() const { return m_result; }

private:
    void refresh();
    void onOkClicked();

    LogoDocument &m_doc;
    TextLogo m_result;
};

} // namespace logo
