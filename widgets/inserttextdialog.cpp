#include "widgets/inserttextdialog.h"

#include "graphic/logodocument.h"
#include "graphic/pictureimport.h"
#include "widgets/dialoglayout.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

namespace logo {

namespace {

// The font entries: the automatic choice first, as the console tool chooses.
struct FontChoice {
    const char *caption;
    std::optional<TextFont> font;
};
const FontChoice kFontChoices[] = {
    {"Automatic", std::nullopt},
    {"Bold", TextFont::Bold},
    {"Tiny", TextFont::Tiny},
};

} // namespace

InsertTextDialog::InsertTextDialog(LogoDocument &doc, QWidget *parent) : QDialog(parent), m_doc(doc)
{
    setUpDialog(this, QStringLiteral("frmInsertText"), QStringLiteral("Insert Text"));

    auto *frame = new QGroupBox(QStringLiteral("Text"), this);
    auto *form = new QFormLayout(frame);
    for (int i = 0; i < kLineCount; ++i) {
        txtLine[i] = new QLineEdit(frame);
        txtLine[i]->setObjectName(QStringLiteral("txtLine%1").arg(i + 1));
        form->addRow(QStringLiteral("Line &%1:").arg(i + 1), txtLine[i]);
        connect(txtLine[i], &QLineEdit::textChanged, this, &InsertTextDialog::refresh);
    }
    cmbFont = new QComboBox(frame);
    cmbFont->setObjectName(QStringLiteral("cmbFont"));
    cmbFont->setToolTip(QStringLiteral("Automatic takes the bold font when the text fits it, else the tiny one"));
    for (const FontChoice &f : kFontChoices)
        cmbFont->addItem(QString::fromLatin1(f.caption));
    form->addRow(QStringLiteral("&Font:"), cmbFont);
    connect(cmbFont, &QComboBox::currentIndexChanged, this, &InsertTextDialog::refresh);

    picText = new QLabel(frame);
    picText->setObjectName(QStringLiteral("picText"));
    picText->setFixedSize(LogoGrid::MaxWidth * kPreviewScale, LogoGrid::MaxHeight * kPreviewScale);
    form->addRow(picText);

    lblRefusal = new QLabel(frame);
    lblRefusal->setObjectName(QStringLiteral("lblRefusal"));
    lblRefusal->setWordWrap(true);
    // Room for two lines of reasons, so that the dialog keeps its size while typing.
    lblRefusal->setMinimumHeight(2 * lblRefusal->fontMetrics().lineSpacing());
    lblRefusal->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette warn = lblRefusal->palette();
    warn.setColor(QPalette::WindowText, QColor(160, 0, 0));
    lblRefusal->setPalette(warn);
    form->addRow(lblRefusal);

    cmdOK = dialogButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), true);
    cmdCancel = dialogButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), false);
    frameAboveButtons(this, frame, buttonRow({cmdOK, cmdCancel}));
    connect(cmdOK, &QPushButton::clicked, this, &InsertTextDialog::onOkClicked);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    refresh();
}

QStringList InsertTextDialog::lines() const
{
    QStringList out;
    for (const QLineEdit *line : txtLine)
        out << line->text();
    return out;
}

void InsertTextDialog::refresh()
{
    const std::optional<TextFont> font = kFontChoices[std::max(0, cmbFont->currentIndex())].font;
    const QStringList text = lines();
    m_result = font ? renderTextLogo(text, *font) : renderTextLogoInBestFont(text);

    // Empty boxes are no mistake to point out, only nothing to insert yet.
    const bool blank = text.join(QString()).trimmed().isEmpty();
    lblRefusal->setText(m_result.ok || blank ? QString() : m_result.refusal);
    cmdOK->setEnabled(m_result.ok);
    const LogoGrid shown = m_result.ok ? m_result.grid : LogoGrid();
    picText->setPixmap(QPixmap::fromImage(exportImage(shown, QSize(kPreviewScale, kPreviewScale))));
}

void InsertTextDialog::onOkClicked()
{
    const TextLogo inserted = m_doc.insertText(lines(), m_result.font);
    if (!inserted.ok) {
        lblRefusal->setText(inserted.refusal);
        cmdOK->setEnabled(false);
        return;
    }
    accept();
}

} // namespace logo
