#pragma once

#include <QString>

namespace rawen {

// What comes with the program beside its executable. A package puts the program in /usr/bin and
// the rest in /usr/lib/rawen: the stand-in module program, and the folder "moduly", where
// packages of the suite's modules put their programs. A program run from its build, or copied
// into its data root, has the stand-in beside itself.
namespace Instalacja {

// The installation's folder of module programs, with a closing separator; it need not exist.
QString katalogModulow();

// The stand-in module program that a demo data root copies under each module's name: the one
// beside the executable, else the installation's.
QString programModuluDemo();

} // namespace Instalacja

} // namespace rawen
