#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <map>

#include "app/context/CommandIds.h"

namespace vn::test {

// The states of the three toolbar commands that follow the caret, by
// command id, read from the actions that owner holds.
inline std::map<int, bool> ToolBarStates(const QObject& owner) {
    const std::pair<int, const char*> buttons[] = {
        {cmd::kRescan, "actionRescan"},
        {cmd::kInstall, "actionInstall"},
        {cmd::kDisableEnableServices, "actionDisableEnableServices"},
    };
    std::map<int, bool> states;
    for (const auto& [id, name] : buttons) {
        const auto* action = owner.findChild<QAction*>(QString::fromLatin1(name));
        if (action == nullptr)
            ADD_FAILURE() << "no action " << name;
        states[id] = action != nullptr && action->isEnabled();
    }
    return states;
}

}  // namespace vn::test
