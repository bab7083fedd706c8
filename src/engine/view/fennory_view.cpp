#include "view/fennory_view.h"

#include "catalogue/catalogue_builder.h"
#include "catalogue/folder_selection.h"
#include "patch/search_options.h"

namespace fennory {

void FennoryView::OnSetPath() {
    fennory::OnSetPath(state_, port_);
}

bool FennoryView::BuildCatalogue() {
    return CatalogueBuilder(state_, port_).BuildCatalogue();
}

}  // namespace fennory
