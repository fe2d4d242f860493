#pragma once

#include <QDialog>
#include <string>

#include "inventory/NameRules.h"

class QLineEdit;

namespace vn {

// A dialog asking for one name. OK checks the name as typed and, when it is
// refused, shows why and stays open.
class NameEntryDialog : public QDialog {
    Q_OBJECT
public:
    // The name confirmed with OK, exactly as typed.
    std::string Name() const;
    QLineEdit* NameEdit() const { return edit_; }

    void accept() override;

protected:
    NameEntryDialog(NameKind kind, const QString& title, const QString& prompt, QWidget* parent);

    // Why OK cannot take the name, or an empty text: the rules of typed names.
    virtual std::string Refusal(const std::string& name) const;

private:
    NameKind kind_;
    QLineEdit* edit_;
};

}  // namespace vn
