#include "cli/Commands.h"
#include "cli/JsonWriter.h"

namespace vn::cli {

int RunProducts(CommandContext& context) {
    const ProductCatalogue& catalogue = context.host.catalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const ProductDef& product = catalogue.at(i);
        JsonObjectWriter(context.host.out())
            .String("name", product.DisplayName)
            .String("service", product.ServiceName)
            .String("path", product.ServicePath)
            .Bool("icon", !product.Icon.isNull());
    }
    return kExitDone;
}

}  // namespace vn::cli
