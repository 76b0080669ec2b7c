#pragma once
// A small vehicle whose numbers make every solver result checkable by hand.
//
// In gear g the overall ratio ig = 3.6 x Ratio is 18, 7.2 and 3.6, so with a
// tire circumference of 1 m the engine speed is 300 V, 120 V and 60 V rpm. The
// overall efficiency is 0.5 and the tire radius 0.36 m, so a driving force F
// needs 0.04 F, 0.1 F and 0.2 F N m, and a braking force gives 0.01 F, 0.025 F
// and 0.05 F N m. With 1000 kg test weight, 2600 kg of rotating parts, 0.1 N/kg
// rolling resistance and no air drag, the force on a level road is
// 1000 (V - Vprev) + 100 N.
//
// Engine: idle 500, floor speed Nes 700, idling threshold Nec 900, gear
// minimum 600, rated 2500, overrun limit 3000 rpm. Full load: 300 N m at 500,
// 400 at 1000, 500 at 2000, 300 at 3000 rpm.

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "input/records.h"
#include "support/test_support.h"

namespace hdfe::testing {

inline VehicleSpec smallVehicle() {
  VehicleSpec v;
  v.MuAir = 0.0;
  v.MuRoll = 0.1;
  v.TireRadius = 0.36;
  v.TireCircumference = 1.0;
  v.Wtest = 1000.0;
  return v;
}

inline GearboxSpec smallGearbox() {
  GearboxSpec g;
  g.StartGearLimit = 1;
  g.GearCount = 3;
  g.FinalRatio = 3.6;
  g.FinalEfficiency = 0.5;
  g.Gears = {{}, {5.0, 1.0, 2.0, 2600.0}, {2.0, 1.0, 1.7, 2600.0}, {1.0, 1.0, 1.3, 2600.0}};
  return g;
}

inline EngineSpec smallEngine() {
  EngineSpec e;
  e.Nex = 3000.0;
  e.Nrate = 2500.0;
  e.Nidle = 500.0;
  e.Nes = 700.0;
  e.Nec = 900.0;
  e.GearMinSpeed = {0.0, 600.0, 600.0, 600.0};
  return e;
}

inline TorqueCurve smallFullLoad() {
  return curveOf({{500.0, 300.0}, {1000.0, 400.0}, {2000.0, 500.0}, {3000.0, 300.0}});
}

}  // namespace hdfe::testing
