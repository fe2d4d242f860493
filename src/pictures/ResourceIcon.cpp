#include "pictures/ResourceIcon.h"

#include <memory>

#include "pictures/ImageIconEngine.h"
#include "pictures/PngImage.h"
#include "pictures/PngResourceTable.h"

namespace vn {

QIcon ResourceIcon(int id) {
    std::vector<QImage> images;
    for (const PngResource& resource : PngResources()) {
        if (resource.Id == id)
            images.push_back(DecodePng(resource.Data));
    }
    auto engine = std::make_unique<ImageIconEngine>(std::move(images));
    if (engine->isNull())
        return {};
    return QIcon(engine.release());
}

std::vector<QImage> ResourceImageStrip(int id, int cellWidth) {
    const QImage strip = LoadPngResource(id);
    std::vector<QImage> cells;
    if (strip.isNull() || cellWidth <= 0)
        return cells;
    for (int x = 0; x + cellWidth <= strip.width(); x += cellWidth) {
        cells.push_back(strip.copy(x, 0, cellWidth, strip.height()));
    }
    return cells;
}

std::vector<QIcon> ResourceIconStrip(int id, int cellWidth) {
    std::vector<QIcon> icons;
    for (QImage& cell : ResourceImageStrip(id, cellWidth)) {
        icons.emplace_back(new ImageIconEngine({std::move(cell)}));
    }
    return icons;
}

}  // namespace vn
