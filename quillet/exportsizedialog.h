#pragma once
// Export's size: how many times larger the picture is written, and whether
// its pixels take the phones' shape (as logotool convert --scale N --aspect).
// The choice is kept in the program's settings for the next export.
#include <QDialog>
#include <QSize>
#include <QSizeF>

class QCheckBox;
class QSpinBox;

namespace logo {
class FileCommands;
class SettingsStore;
}

namespace quillet {

class ExportSizeDialog : public QDialog {
    Q_OBJECT
public:
    // shape: the phones' pixel shape (width to height).
    ExportSizeDialog(logo::SettingsStore &settings, const QString &section, QSizeF shape, QWidget *parent = nullptr);

    void setScale(int scale);
    void setPhoneShape(bool on);
    // The block each pixel is written as.
    QSize pixelSize() const;
    // Keeps the choice in the settings.
    void remember();

private:
    logo::SettingsStore &m_settings;
    QString m_section;
    QSizeF m_shape;
    QSpinBox *m_scale = nullptr;
    QCheckBox *m_phoneShape = nullptr;
};

// Asks for the size, then runs the export with its file dialog.
void exportAtSize(QWidget *parent, logo::FileCommands &files, logo::SettingsStore &settings, const QString &section);

} // namespace quillet
