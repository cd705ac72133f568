#include "widgets/inserttextdialog.h"

#include "graphic/logodocument.h"
#include "picture/pictureimage.h"
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
        lineEdits[i] = new QLineEdit(frame);
        lineEdits[i]->setObjectName(QStringLiteral("txtLine%1").arg(i + 1));
        form->addRow(QStringLiteral("Line &%1:").arg(i + 1), lineEdits[i]);
        connect(lineEdits[i], &QLineEdit::textChanged, this, &InsertTextDialog::refresh);
    }
    fontList = new QComboBox(frame);
    fontList->setObjectName(QStringLiteral("cmbFont"));
    fontList->setToolTip(QStringLiteral("Automatic takes the bold font when the text fits it, else the tiny one"));
    for (const FontChoice &f : kFontChoices)
        fontList->addItem(QString::fromLatin1(f.caption));
    form->addRow(QStringLiteral("&Font:"), fontList);
    connect(fontList, &QComboBox::currentIndexChanged, this, &InsertTextDialog::refresh);

    previewLabel = new QLabel(frame);
    previewLabel->setObjectName(QStringLiteral("picText"));
    previewLabel->setFixedSize(LogoGrid::MaxWidth * kPreviewScale, LogoGrid::MaxHeight * kPreviewScale);
    form->addRow(previewLabel);

    refusalLabel = new QLabel(frame);
    refusalLabel->setObjectName(QStringLiteral("lblRefusal"));
    refusalLabel->setWordWrap(true);
    // Room for two lines of reasons, so that the dialog keeps its size while typing.
    refusalLabel->setMinimumHeight(2 * refusalLabel->fontMetrics().lineSpacing());
    refusalLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette warn = refusalLabel->palette();
    warn.setColor(QPalette::WindowText, QColor(160, 0, 0));
    refusalLabel->setPalette(warn);
    form->addRow(refusalLabel);

    okButton = dialogButton(this, QStringLiteral("cmdOK"), QStringLiteral("OK"), true);
    cancelButton = dialogButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), false);
    frameAboveButtons(this, frame, buttonRow({okButton, cancelButton}));
    connect(okButton, &QPushButton::clicked, this, &InsertTextDialog::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    refresh();
}

QStringList InsertTextDialog::lines() const
{
    QStringList out;
    for (const QLineEdit *line : lineEdits)
        out << line->text();
    return out;
}

void InsertTextDialog::refresh()
{
    const std::optional<TextFont> font = kFontChoices[std::max(0, fontList->currentIndex())].font;
    const QStringList text = lines();
    m_result = font ? renderTextLogo(text, *font) : renderTextLogoInBestFont(text);

    // Empty boxes are no mistake to point out, only nothing to insert yet.
    const bool blank = text.join(QString()).trimmed().isEmpty();
    refusalLabel->setText(m_result.ok || blank ? QString() : m_result.refusal);
    okButton->setEnabled(m_result.ok);
    const LogoGrid shown = m_result.ok ? m_result.grid : LogoGrid();
    previewLabel->setPixmap(QPixmap::fromImage(exportImage(shown, QSize(kPreviewScale, kPreviewScale))));
}

void InsertTextDialog::onOkClicked()
{
    const TextLogo inserted = m_doc.insertText(lines(), m_result.font);
    if (!inserted.ok) {
        refusalLabel->setText(inserted.refusal);
        okButton->setEnabled(false);
        return;
    }
    accept();
}

} // namespace logo
