#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>
#include <string_view>

namespace kalmor {

// Whether a point of the desk's wiring is read (a button, a controller
// position, a key) or driven (a lamp, a counter).
enum class IoDirection : std::uint8_t { In, Out };

// One I/O role of a kind: an ASCII code ("CE", "T", "PLUS", ...) and its
// direction. A code may stand twice with both directions (a switch
// controller reads and shows "PLUS").
struct IoRole {
    const char *code;
    IoDirection direction;
    friend constexpr bool operator==(const IoRole &a, const IoRole &b)
    {
        return std::string_view(a.code) == std::string_view(b.code) && a.direction == b.direction;
    }
};

// A desk element kind: its name, what a desk designer calls it (UTF-8)
// and its roles, inputs before outputs.
struct DeskKindInfo {
    const char *name;
    const char *description;
    std::span<const IoRole> roles;
};

// The desk element kinds in the catalogue's order.
std::span<const DeskKindInfo> deskKinds();
const DeskKindInfo *findDeskKind(QStringView name);  // exact name, or nullptr

// The I/O roles of a kind: a desk element's as listed, a lamp's one
// output of its colour; empty for every other name (exact names).
std::span<const IoRole> ioRolesOf(QStringView kind);

// The Czech description of a desk kind; empty for every other name.
QString deskKindDescription(QStringView kind);

}  // namespace kalmor
