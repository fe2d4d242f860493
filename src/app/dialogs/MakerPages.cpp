#include "app/dialogs/MakerPages.h"

#include "update/UpdateHost.h"

namespace vn {

std::string MakerPageUrl(Registry& registry, std::string_view page) {
    std::string url = "https://";
    url += ResolveUpdateHost(registry);
    url += "/go.asp?page=";
    url += page;
    return url;
}

}  // namespace vn
