#pragma once

#include <string>
#include <vector>

#include "analysis/real_world.h"

namespace timer555 {

// How long and how finely a design is simulated, from its predicted timing:
// the end after the first high time and eight periods (the one-shot: the
// trigger and the pulse), and a largest time step of a two-hundredth of the
// period, so every design from 0.01 Hz to 2 MHz and any duty cycle takes a
// bounded number of points.
struct SimulationPlan {
  double stop = 0;
  double maxStep = 0;
  double triggerAt = 0;     // the one-shot's trigger, after its power-up pulse
  double triggerWidth = 0;  // back high well before the pulse ends
  double midLevel = 0;      // V: the output crossing measured
  int firstRise = 3;        // the periods measured: rises firstRise .. lastRise
  int lastRise = 8;
};
SimulationPlan PlanSimulation(const DesignSnapshot& design, const Conditions& conditions);

// The steering diodes' .model line, from the same figures the prediction uses.
std::string DiodeModelLine(const DiodeModel& diode);

// The design's circuit as the schematic draws it, with our behavioural 555
// for the family and a 1N4148-class diode model, C2 = 10 nF on pin 5, and the
// .meas lines the simulation reads. `waveFile`, when given, adds a control
// block that writes the output and capacitor voltages there.
std::string Netlist(const DesignSnapshot& design, const Conditions& conditions,
                    const SimulationPlan& plan, const std::string& waveFile = "");

}  // namespace timer555
