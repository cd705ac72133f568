#include "exportsizedialog.h"

#include "desktop/pixelaspect.h"
#include "desktop/settingsstore.h"
#include "graphic/filecommands.h"
#include "graphic/pictureimport.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace quillet {

namespace {
const QString kScaleKey = QStringLiteral("ExportScale");
const QString kShapeKey = QStringLiteral("ExportPixelShape");
} // namespace

ExportSizeDialog::ExportSizeDialog(logo::SettingsStore &settings, const QString &section, QSizeF shape,
                                   QWidget *parent)
    : QDialog(parent), m_settings(settings), m_section(section), m_shape(shape)
{
    setObjectName(QStringLiteral("frmExportSize"));
    setWindowTitle(QStringLiteral("Export"));
    auto *form = new QFormLayout(this);
    m_scale = new QSpinBox(this);
    m_scale->setObjectName(QStringLiteral("spnExportScale"));
    m_scale->setRange(1, logo::MaxExportScale);
    m_scale->setSuffix(QStringLiteral(" x"));
    m_scale->setValue(std::clamp(settings.readInt(section, kScaleKey, 1), 1, logo::MaxExportScale));
    form->addRow(QStringLiteral("&Scale:"), m_scale);
    m_phoneShape = new QCheckBox(QStringLiteral("The phones' &pixel shape"), this);
    m_phoneShape->setObjectName(QStringLiteral("chkExportPixelShape"));
    m_phoneShape->setChecked(settings.readInt(section, kShapeKey, 0) == 1);
    form->addRow(m_phoneShape);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void ExportSizeDialog::setScale(int scale)
{
    m_scale->setValue(scale);
}

void ExportSizeDialog::setPhoneShape(bool on)
{
    m_phoneShape->setChecked(on);
}

QSize ExportSizeDialog::pixelSize() const
{
    return logo::exportPixelSize(m_scale->value(), m_phoneShape->isChecked() ? m_shape : QSizeF());
}

void ExportSizeDialog::remember()
{
    m_settings.writeInt(m_section, kScaleKey, m_scale->value());
    m_settings.writeInt(m_section, kShapeKey, m_phoneShape->isChecked() ? 1 : 0);
}

void exportAtSize(QWidget *parent, logo::FileCommands &files, logo::SettingsStore &settings, const QString &section)
{
    ExportSizeDialog dialog(settings, section, logo::pixelAspect(settings), parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.remember();
    files.exportCommand(dialog.pixelSize());
}

} // namespace quillet
