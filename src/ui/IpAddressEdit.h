#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class QLineEdit;

namespace vn {

// An IPv4 address entered as four numbers of 0 to 255 in fields of their
// own. A blank field counts as 0; typing a dot or a third digit moves on to
// the next field.
class IpAddressEdit final : public QWidget {
    Q_OBJECT
public:
    explicit IpAddressEdit(QWidget* parent = nullptr);

    // Host order, the first number in the most significant byte.
    std::uint32_t Address() const;
    void SetAddress(std::uint32_t address);

    QLineEdit* Field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLineEdit*, 4> fields_{};
};

}  // namespace vn
