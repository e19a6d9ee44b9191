// The package's unit table and its start and stop in unit order.
//
// Every unit keeps a start count: each initialization lowers it and each finalization raises
// it, and only the return to zero cleans the unit up, so nested Initialize/Finalize pairs start
// and stop each unit once. Loading the library starts it once and unloading stops that start
// again, so an application that never calls Initialize still finds the units started.

#include "library/Units.h"

#include <array>

#include "include/ribbonkit.h"

namespace ribbon {
namespace {

enum TUnitIndex { uZBarCode, upBarCode, upDBBarcode, UnitCount };

int Sequence = 0;  // orders start-ups and clean-ups across the units

std::array<ribbonkit_unit_info, UnitCount> UnitTable = {{
    {"ZBarCode", ZBarCode::initialization, ZBarCode::Finalization, 0, 0, 0, 0, 0},
    {"pBarCode", pBarCode::initialization, pBarCode::Finalization, 0, 0, 0, 0, 0},
    {"pDBBarcode", pDBBarcode::initialization, pDBBarcode::Finalization, 0, 0, 0, 0, 0},
}};

const ribbonkit_package_info PackageInfo = {UnitCount, UnitTable.data()};

// None of the units does work of its own at start-up: their tables are constant data.
void StartUnit(TUnitIndex Unit) {
    ribbonkit_unit_info& u = UnitTable[Unit];
    if (u.start_count-- != 0) return;
    ++u.start_ups;
    u.started_at = ++Sequence;
}

// The tables are constant data in the library's image, so the clean-up has nothing to free;
// what it ends is the permission to read them (LibraryStarted), which the C interface checks.
void StopUnit(TUnitIndex Unit) {
    ribbonkit_unit_info& u = UnitTable[Unit];
    if (u.start_count >= 0) return;  // a Finalize without its Initialize changes nothing
    if (++u.start_count != 0) return;
    ++u.clean_ups;
    u.cleaned_at = ++Sequence;
}

// Package-level count, so that the unloading of the library only undoes what is still started.
int PackageStarts = 0;

__attribute__((constructor)) void LoadLibrary() {
    Initialize();
}

__attribute__((destructor)) void UnloadLibrary() {
    while (PackageStarts > 0) Finalize();
}

}  // namespace

void ZBarCode::initialization() {
    StartUnit(uZBarCode);
}
void ZBarCode::Finalization() {
    StopUnit(uZBarCode);
}
void pBarCode::initialization() {
    StartUnit(upBarCode);
}
void pBarCode::Finalization() {
    StopUnit(upBarCode);
}
void pDBBarcode::initialization() {
    StartUnit(upDBBarcode);
}
void pDBBarcode::Finalization() {
    StopUnit(upDBBarcode);
}

bool LibraryStarted() {
    return UnitTable[uZBarCode].start_count < 0;
}

}  // namespace ribbon

extern "C" {

void Initialize(void) {
    ++ribbon::PackageStarts;
    for (const ribbonkit_unit_info& u : ribbon::UnitTable) u.initialization();
}

void Finalize(void) {
    if (ribbon::PackageStarts == 0) return;
    --ribbon::PackageStarts;
    for (auto u = ribbon::UnitTable.rbegin(); u != ribbon::UnitTable.rend(); ++u) u->finalization();
}

// Aliases, not wrappers: one routine under both names, so the counts cannot differ.
void PackageLoad(void) __attribute__((alias("Initialize")));
void PackageUnload(void) __attribute__((alias("Finalize")));

const ribbonkit_package_info* GetPackageInfoTable(void) {
    return &ribbon::PackageInfo;
}
}
