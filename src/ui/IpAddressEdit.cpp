#include "ui/IpAddressEdit.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace vn {

IpAddressEdit::IpAddressEdit(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("octet%1").arg(i));
        field->setValidator(new QIntValidator(0, 255, field));
        field->setMaxLength(3);
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
        field->installEventFilter(this);
        if (i + 1 < fields_.size()) {
            // The next field exists by the time anything is typed.
            connect(field, &QLineEdit::textEdited, this, [this, i](const QString& text) {
                if (text.size() == 3)
                    fields_[i + 1]->setFocus();
            });
        }
        layout->addWidget(field);
        fields_[i] = field;
    }
    layout->addStretch();
    setFocusProxy(fields_[0]);
}

std::uint32_t IpAddressEdit::Address() const {
    std::uint32_t address = 0;
    for (const QLineEdit* field : fields_)
        address = (address << 8) | static_cast<std::uint32_t>(field->text().toUInt() & 0xFF);
    return address;
}

void IpAddressEdit::SetAddress(std::uint32_t address) {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(QString::number((address >> (8 * (3 - i))) & 0xFF));
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Period) {
        for (std::size_t i = 0; i + 1 < fields_.size(); ++i) {
            if (watched == fields_[i]) {
                fields_[i + 1]->setFocus();
                fields_[i + 1]->selectAll();
                return true;
            }
        }
        return true;  // a dot in the last field is dropped, as the validator would
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vn
