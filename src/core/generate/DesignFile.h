// Design files: a component or facility design record as a JSON object.
//
//   {"kind": "component", "CompName": "Laser", "NumCompLevels": 3,
//    "GridComp": false, ..., "TechReqs": [{"TechReqArea": "...", ...}],
//    "Abilities": [{"AbilName": "...", ...}], "WeaponDamageAtRange": ["10", ...]}
//
// Every scalar property sits under its own name; an absent key keeps the
// new-record default, an absent "TechReqs" or "Abilities" the default single
// empty entry, an empty array means none. Anything unknown, of the wrong type,
// malformed or written twice, and any value the design checks refuse
// (generate/DesignCheck.h), is refused with a text that names the place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "records/vrlComponent.h"
#include "records/vrlFacility.h"

namespace vorlane {

enum class DesignKind { Component, Facility };

struct Design {
  DesignKind kind = DesignKind::Component;
  vrlComponent component;  // the record read when kind is Component
  vrlFacility facility;    // the record read when kind is Facility
};

// Reads a design from JSON text. On failure gives nothing and sets `error`
// to the reason, starting with its place: "/TechReqs/0/Foo: unknown key".
std::optional<Design> ParseDesign(std::string_view json, std::string& error);

// The JSON text of a record, every property written; reads back as the same
// record.
std::string DesignToJson(const vrlComponent& record);
std::string DesignToJson(const vrlFacility& record);

// The most a design file may hold. The largest designs (32,767 requirements and
// as many abilities with long formulas) stay far below; a file above it is
// refused unread, so that a mistaken choice cannot take all the memory.
inline constexpr std::uintmax_t kMaxDesignFileBytes = std::uintmax_t{64} << 20;  // 64 MiB

// File forms of the above. Loading refuses an unreadable file, anything that
// is not a regular file (a directory, a named pipe, a device) and a file larger
// than kMaxDesignFileBytes; saving writes
// a fresh file beside the target and then puts it in the target's place, so
// that a failed save leaves any earlier file untouched.
std::optional<Design> LoadDesignFile(const std::filesystem::path& path, std::string& error);
bool SaveDesignFile(const std::filesystem::path& path, const vrlComponent& record, std::string& error);
bool SaveDesignFile(const std::filesystem::path& path, const vrlFacility& record, std::string& error);

}  // namespace vorlane
