#pragma once
// The input file readers, called by the run driver in this order:
// READSPEC, READTRANS, READENGINE, SETVEHICLE, READTORQUE (full load, then
// motoring), READFMAP; READSHIFT at the start of each cycle. Each opens its
// file, reads it, closes it, and on failure throws FatalStop with its message.
// File names are passed without their trailing blanks.

#include <cstdint>
#include <string>
#include <vector>

#include "input/records.h"

namespace hdfe {

// Specification file: the twenty values and the three adjustments.
void READSPEC(const std::string& inputName, RunSettings& settings, VehicleSpec& vehicle,
              GearboxSpec& gearbox);

// Transmission file: counts, ratios and kind.
void READTRANS(const std::string& transmissionFile, GearboxSpec& gearbox);

// Engine file: the three data file names and the three engine speeds.
void READENGINE(const std::string& engineFile, RunSettings& settings, EngineSpec& engine);

// Category table, shift parameter file and every derived field. Upper-cases
// settings.Category in place.
void SETVEHICLE(RunSettings& settings, VehicleSpec& vehicle, EngineSpec& engine,
                GearboxSpec& gearbox);

// A torque curve file (full-load or motoring), sorted by speed.
void READTORQUE(const std::string& fileName, TorqueCurve& curve);

// The fuel map file, sorted by speed and within a speed by torque.
void READFMAP(const std::string& fileName, FuelMap& map);

// A gear schedule file: fills shift[1..seconds]; shift has seconds + 1 entries.
void READSHIFT(const std::string& fileName, std::int32_t seconds, std::vector<std::int32_t>& shift);

}  // namespace hdfe
