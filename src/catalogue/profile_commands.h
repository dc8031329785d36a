// The commands on the selected profile: delete it, open its desktop folder, and the
// date text its properties show.
#pragma once

#include <string>

#include "catalogue/catalogue_context.h"

namespace velkor {

// The selected row, or -1 after telling the user to select one.
int SelectedRowOrTell(CatalogueContext& context);

void DeleteProfile(CatalogueContext& context);
void OpenProfileFolder(CatalogueContext& context);

// "2016年2月17日9时5分": the date, then the time down to its last part that is not zero.
std::string DateText(const DateTime& value);

}  // namespace velkor
