#include "cli/Commands.h"
#include "cli/ComputerJson.h"
#include "core/TextStatusSink.h"
#include "detect/ComputerProbe.h"
#include "platform/RemoteConnectionScope.h"

namespace vn::cli {

int RunProbe(CommandContext& context) {
    if (!context.UseCredentials())
        return kExitIncomplete;
    Platform& platform = context.host.platform();
    const ProductCatalogue& catalogue = context.host.catalogue();
    TextStatusSink status([&](const std::string& line) { context.Status(line); });
    int result = kExitDone;
    for (const std::string& name : context.operands) {
        ComputerRecord record(name);
        const RemoteConnectionScope pipes;  // closed after the record is written
        ExamineComputer(platform, name, catalogue, record, status);
        if (record.HasError)
            result = kExitIncomplete;
        JsonObjectWriter json(context.host.out());
        WriteComputerFields(json, record);
    }
    return result;
}

}  // namespace vn::cli
