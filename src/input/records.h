#pragma once
// The vehicle and powertrain records. Plain data, filled once by the readers
// in load order and read-only afterwards.
//
// Sequences that count from 1 are sized count + 1 with entry 0 unused, so code
// reads Speed[k] for k = 1..Count. Text fields are the 1024-character fields of
// the input files held without their trailing blanks.

#include <cstdint>
#include <string>
#include <vector>

namespace hdfe {

struct VehicleSpec {
  double MuAir = 0.0;              // N/(km/h)^2
  double MuRoll = 0.0;             // N/kg
  double TireRadius = 0.0;         // m
  double FlatTireRadius = 0.0;     // m
  double TireCircumference = 0.0;  // m, 6.28 x TireRadius
  double Width = 0.0;              // m
  double Height = 0.0;             // m
  double Wcurb = 0.0;              // kg
  double Wpayload = 0.0;           // kg
  double Wtest = 0.0;              // kg
  double GVW = 0.0;                // kg
  double HighwayRatio = 0.0;       // fraction 0..1
  std::int32_t Crew = 0;           // persons
  double LoadFactor = 0.0;         // fraction
  double Inertia = 0.0;            // kg m^2
};

struct EngineSpec {
  double Nex = 0.0;    // overrun limit, rpm
  double Nrate = 0.0;  // rated speed, rpm
  double Nidle = 0.0;  // idle speed, rpm
  double Nes = 0.0;    // floor engine speed, rpm
  double Nec = 0.0;    // idling threshold when decelerating, rpm
  std::vector<double> GearMinSpeed;  // 1..GearCount
};

struct GearEntry {
  double Ratio = 0.0;
  double Efficiency = 0.0;
  double TorqueMargin = 0.0;
  double DW = 0.0;  // kg, equivalent mass of the rotating parts
};

struct GearboxSpec {
  std::int32_t Kind = 0;  // 1: torque converter automatic
  std::int32_t LowGearCount = 0;
  std::int32_t StartGearLimit = 0;
  std::int32_t GearCount = 0;
  std::int32_t MainRatioCount = 0;
  std::int32_t SubRatioCount = 0;
  double FinalRatio = 0.0;
  double FinalEfficiency = 0.0;
  std::vector<GearEntry> Gears;   // 1..GearCount
  std::vector<double> MainRatios;  // 1..MainRatioCount
  std::vector<double> SubRatios;   // 1..SubRatioCount
};

struct TorqueCurve {
  std::int32_t Count = 0;
  std::vector<double> Speed;   // 1..Count, rpm, ascending
  std::vector<double> Torque;  // 1..Count, N m
};

struct FuelMap {
  double IdleFuel = 0.0;  // l/h
  std::int32_t Count = 0;
  std::vector<double> Speed;   // 1..Count, rpm
  std::vector<double> Torque;  // 1..Count, N m
  std::vector<double> Fuel;    // 1..Count, l/h
};

struct RunSettings {
  std::string InputName;
  std::string OutputName;
  std::string VehicleName;
  std::string Category;
  std::string EngineFile;
  std::string TransmissionFile;
  std::int32_t TraceOutput = 0;
  double RollAddend = 0.0;
  double AirCoefficient = 0.0;
  std::int32_t IdleStop = 0;
  std::int32_t IdleStopWait = 0;
  std::int32_t StartIdleStop = 0;
  std::int32_t StartIdleStopTime = 0;
  std::int32_t EngineStartTiming = 0;
  double Kf1 = 0.0;
  double Kf2 = 0.0;
  std::string UrbanScheduleFile;
  std::string HighwayScheduleFile;
  std::string ShiftParamFile;
  // From the engine file.
  std::string FuelMapFile;
  std::string FullLoadCurveFile;
  std::string MotoringCurveFile;
};

}  // namespace hdfe
