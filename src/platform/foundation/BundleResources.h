#pragma once

#include <QString>

// The application's data files: where the installed program keeps them
// (<prefix>/share/brevoir beside its bin folder), else the source tree's resources when run
// from a build.
namespace BundleResources {
// The path of the data file `relative` (for example "help/index.html"), or an empty string
// when neither place has it.
QString path(const QString& relative);
} // namespace BundleResources
