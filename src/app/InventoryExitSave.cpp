#include "app/InventoryExitSave.h"

#include "core/MessageBoxService.h"
#include "inventory/InventoryPersistence.h"

namespace vn {

bool SaveInventoryAtExit(const InventoryModel& model, Registry& registry, const std::string& loadedStamp,
                         SaveProblems& problems) {
    std::string expected = loadedStamp;
    SaveResult result;
    while ((result = SaveInventoryIfStampIs(model, registry, expected, &problems)) == SaveResult::StoredTreeChanged) {
        // Asked outside the write group: the hive stays free for others
        // while the question is open.
        if (ShowMessage(kAppCaption, kSavedTreeChangedQuestion, MessageIcon::Question, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return true;
        expected = ReadInventoryStamp(registry);
    }
    return result == SaveResult::Complete;
}

}  // namespace vn
