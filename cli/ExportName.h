#pragma once
// The export name is decided in contacts/, so that the window's Copy and Save offer the same name.
#include "contacts/ExportName.h"  // IWYU pragma: export
