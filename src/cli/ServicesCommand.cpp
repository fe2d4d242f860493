#include <QString>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/WarningMessageBoxes.h"
#include "core/TextStatusSink.h"
#include "detect/ComputerProbe.h"
#include "manage/RemoteServices.h"
#include "manage/ServiceProducts.h"
#include "platform/RemoteDeadline.h"

namespace vn::cli {
namespace {

std::optional<std::string> StartupTypeWord(std::uint32_t start) {
    if (const auto index = StartupTypeIndex(start))
        return QString::fromUtf8(kStartupTypes[*index].text.data()).toLower().toStdString();
    return std::nullopt;
}

std::string_view StateWord(ServiceState state) {
    switch (state) {
    case ServiceState::Started: return "started";
    case ServiceState::Stopped: return "stopped";
    case ServiceState::Unknown: break;
    }
    return "unknown";
}

void WriteServiceLine(CommandContext& context, const ProductDef& product, std::uint32_t start, ServiceState state) {
    JsonObjectWriter(context.host.out())
        .String("product", product.DisplayName)
        .String("service", product.ServiceName)
        .StringOrNull("startup", StartupTypeWord(start))
        .String("state", StateWord(state));
}

bool SameText(std::string_view a, std::string_view b) {
    return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive) == 0;
}

// The service product named by its display name or its service name.
const ProductDef* FindProduct(const std::vector<const ProductDef*>& products, std::string_view name) {
    for (const ProductDef* product : products) {
        if (SameText(product->DisplayName, name) || SameText(product->ServiceName, name))
            return product;
    }
    return nullptr;
}

// The service products the computer has, as the window program finds them
// by examining it; false (told) when it cannot be examined.
bool ExamineServiceProducts(CommandContext& context, std::vector<const ProductDef*>& products) {
    const std::string& name = context.operands.front();
    ComputerRecord record(name);
    TextStatusSink status([&](const std::string& line) { context.Status(line); });
    ProbeComputer(context.host.platform(), name, context.host.catalogue(), record, status);
    if (record.HasError) {
        context.Warn("Faliled to connect to computer " + name + ".\n" + record.ErrorString);
        return false;
    }
    products = ServiceProducts(record);
    if (products.size() > kMaxServiceRows)
        products.resize(kMaxServiceRows);
    return true;
}

int ListServices(CommandContext& context, RemoteServices& services, const std::vector<const ProductDef*>& products) {
    for (const ProductDef* product : products) {
        const std::uint32_t start = services.ReadStartupType(*product);
        WriteServiceLine(context, *product, start, services.QueryServiceState(product->ServiceName));
    }
    return services.HasManager() ? kExitDone : kExitIncomplete;
}

// start and stop, with the service manager's rules: nothing to do in the
// state asked for, nothing possible in an unknown state, no start while the
// startup type is Disabled.
int StartOrStop(CommandContext& context, RemoteServices& services, const ProductDef& product, bool start) {
    const ServiceState state = services.QueryServiceState(product.ServiceName);
    const ServiceState wanted = start ? ServiceState::Started : ServiceState::Stopped;
    if (state == ServiceState::Unknown)
        return context.Fail("the state of the " + product.ServiceName + " service is unknown");
    if (state != wanted) {
        if (start && services.ReadStartupType(product) == kStartDisabled)
            return context.Fail("the " + product.ServiceName + " service is disabled; change its startup type first");
        const bool done =
            start ? services.StartRemoteService(product.ServiceName) : services.StopRemoteService(product.ServiceName);
        if (!done)
            return kExitIncomplete;
    }
    WriteServiceLine(context, product, services.ReadStartupType(product), wanted);
    return kExitDone;
}

int ChangeStartupType(CommandContext& context, RemoteServices& services, const ProductDef& product,
                      std::uint32_t start) {
    const bool written = services.WriteStartupType(product, start);
    const std::uint32_t now = services.ReadStartupType(product);
    WriteServiceLine(context, product, now, services.QueryServiceState(product.ServiceName));
    if (!written || now != start)
        return context.Fail("could not change the startup type of the " + product.ServiceName + " service");
    return kExitDone;
}

// What is wrong with the words after NAME, or nothing.
std::string ServicesUsageProblem(const std::vector<std::string>& operands, std::optional<std::uint32_t>& start) {
    if (operands.size() == 1)
        return {};
    const std::string& action = operands[1];
    const std::size_t wanted = action == "startup" ? 4 : (action == "start" || action == "stop") ? 3 : 0;
    if (wanted == 0)
        return "unknown services command \"" + action + "\"";
    if (operands.size() != wanted)
        return operands.size() < wanted ? "missing argument" : "too many arguments";
    if (action != "startup")
        return {};
    for (const StartupTypeName& type : kStartupTypes) {
        if (SameText(type.text, operands[3]))
            start = type.start;
    }
    return start ? std::string() : "the startup type is automatic, manual or disabled";
}

}  // namespace

int RunServices(CommandContext& context) {
    const std::vector<std::string>& operands = context.operands;
    std::optional<std::uint32_t> start;
    if (const std::string problem = ServicesUsageProblem(operands, start); !problem.empty())
        return context.BadUsage(problem);
    if (!context.UseCredentials())
        return kExitIncomplete;
    // The examination and every service call after it end by one limit.
    RemoteDeadlineScope examination(kExaminationLimit);

    std::vector<const ProductDef*> products;
    if (!ExamineServiceProducts(context, products))
        return kExitIncomplete;
    const std::string action = operands.size() > 1 ? operands[1] : "";
    const ProductDef* product = action.empty() ? nullptr : FindProduct(products, operands[2]);
    if (!action.empty() && product == nullptr)
        return context.Fail("no remote access service \"" + operands[2] + "\" on " + operands[0]);
    if (products.empty()) {
        context.Warn("No remote access services detected on this computer.");
        return kExitDone;
    }

    WarningMessageBoxes messages(context);
    RemoteServices services(context.host.platform(), operands[0], messages);
    const bool managerOpen = services.OpenManager();
    if (action.empty())
        return ListServices(context, services, products);
    if (start)
        return ChangeStartupType(context, services, *product, *start);
    if (!managerOpen)
        return kExitIncomplete;
    return StartOrStop(context, services, *product, action == "start");
}

}  // namespace vn::cli
