#include "sim/sample_channels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>

namespace lcu::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLapSeconds = 90.0;
constexpr double kLapMetres = 4200.0;
constexpr double kFullTank = 57.0;  // litres

double Wave(double t, double period, double phase = 0.0) { return std::sin(2.0 * kPi * t / period + phase); }

// How hard the car is driven, 0 to 1: a lap-like rhythm of straights and corners.
double Drive(double t) { return 0.5 + 0.5 * std::sin(2.0 * kPi * t / 12.0 + 1.3 * std::sin(2.0 * kPi * t / 31.0)); }

// How the raw ADC counts of channels 0 to 63 are calibrated.
enum class Cal {
  kThermistor,   // NTC sensor: falling counts for rising temperature, table interpolation
  kPressure10,   // 0.5 to 4.5 V over 0 to 10 bar
  kPressure200,  // 0.5 to 4.5 V over 0 to 200 bar
  kPedal,        // potentiometer, 400 to 3700 counts over 0 to 100 %
  kBattery,      // 20 V divider on the 12-bit converter
  kManifold,     // slightly bent manifold pressure sensor
  kSteering,     // centre at 2048, 0.1 deg per count
  kGear,         // gear position sensor steps
  kLambda,       // wide-band controller output, 0.5 to 1.5 over the range
  kSuspension,   // linear potentiometer, 100 mm stroke
  kFuelLevel,    // float sender in a shaped tank
  kVolts,        // plain 0 to 5 V input
};

struct KnownChannel {
  const char* name;
  const char* units;
  std::int16_t decimals;
  double (*value)(const EngineState&);
  Cal cal = Cal::kVolts;
};

double Fan(const EngineState& s) { return std::clamp((s.waterTemp - 88.0) * 20.0, 0.0, 100.0); }
double FuelUsed(const EngineState& s) { return kFullTank - s.fuelLevel; }

// The channels that measure something particular; every other channel of a range is a
// numbered general-purpose input with a slow wave of its own.
const std::map<std::uint16_t, KnownChannel>& KnownChannels() {
  static const std::map<std::uint16_t, KnownChannel> known = {
      {0, {"WATER TEMP", "C", 1, [](const EngineState& s) { return s.waterTemp; }, Cal::kThermistor}},
      {1, {"OIL TEMP", "C", 1, [](const EngineState& s) { return s.oilTemp; }, Cal::kThermistor}},
      {2,
       {"AIR TEMP", "C", 1, [](const EngineState& s) { return 24.0 + 3.0 * Wave(s.seconds, 600.0); },
        Cal::kThermistor}},
      {3,
       {"FUEL TEMP", "C", 1, [](const EngineState& s) { return 32.0 + 2.0 * Wave(s.seconds, 500.0, 1.0); },
        Cal::kThermistor}},
      {4, {"OIL PRESS", "bar", 2, [](const EngineState& s) { return s.oilPressure; }, Cal::kPressure10}},
      {5, {"FUEL PRESS", "bar", 2, [](const EngineState& s) { return s.fuelPressure; }, Cal::kPressure10}},
      {6, {"THROTTLE", "%", 1, [](const EngineState& s) { return s.throttle; }, Cal::kPedal}},
      {7, {"BATTERY", "V", 2, [](const EngineState& s) { return s.battery; }, Cal::kBattery}},
      {8, {"MAP", "kPa", 1, [](const EngineState& s) { return s.manifold; }, Cal::kManifold}},
      {9, {"BRAKE PRESS F", "bar", 1, [](const EngineState& s) { return s.brakeFront; }, Cal::kPressure200}},
      {10, {"BRAKE PRESS R", "bar", 1, [](const EngineState& s) { return s.brakeRear; }, Cal::kPressure200}},
      {11, {"STEERING", "deg", 1, [](const EngineState& s) { return s.steering; }, Cal::kSteering}},
      {12, {"GEAR POS", "", 0, [](const EngineState& s) { return static_cast<double>(s.gear); }, Cal::kGear}},
      {13, {"LAMBDA 1", "", 3, [](const EngineState& s) { return s.lambda; }, Cal::kLambda}},
      {14,
       {"LAMBDA 2", "", 3, [](const EngineState& s) { return s.lambda + 0.01 * Wave(s.seconds, 3.1); }, Cal::kLambda}},
      {15,
       {"SUSP FL", "mm", 1, [](const EngineState& s) { return 45.0 + 12.0 * Wave(s.seconds, 0.9); }, Cal::kSuspension}},
      {16,
       {"SUSP FR", "mm", 1, [](const EngineState& s) { return 45.0 + 12.0 * Wave(s.seconds, 0.9, 0.5); },
        Cal::kSuspension}},
      {17,
       {"SUSP RL", "mm", 1, [](const EngineState& s) { return 50.0 + 10.0 * Wave(s.seconds, 1.1, 1.0); },
        Cal::kSuspension}},
      {18,
       {"SUSP RR", "mm", 1, [](const EngineState& s) { return 50.0 + 10.0 * Wave(s.seconds, 1.1, 1.5); },
        Cal::kSuspension}},
      {19,
       {"GEARBOX TEMP", "C", 1, [](const EngineState& s) { return 75.0 + 10.0 * Wave(s.seconds, 900.0); },
        Cal::kThermistor}},
      {20,
       {"DIFF TEMP", "C", 1, [](const EngineState& s) { return 70.0 + 8.0 * Wave(s.seconds, 800.0, 1.0); },
        Cal::kThermistor}},
      {21, {"FUEL LEVEL", "l", 1, [](const EngineState& s) { return s.fuelLevel; }, Cal::kFuelLevel}},
      {22,
       {"COOLANT PRESS", "bar", 2, [](const EngineState& s) { return 1.1 + 0.03 * (s.waterTemp - 80.0); },
        Cal::kPressure10}},
      {23,
       {"CLUTCH POS", "%", 1,
        [](const EngineState& s) { return 100.0 * std::max(0.0, 1.0 - std::fmod(s.seconds, 12.0) / 0.5); },
        Cal::kPedal}},

      {64, {"ENGINE SPEED", "rpm", 0, [](const EngineState& s) { return s.rpm; }}},
      {65, {"VEHICLE SPEED", "km/h", 1, [](const EngineState& s) { return s.speed; }}},
      {66, {"WHEEL SPEED FL", "km/h", 1, [](const EngineState& s) { return s.speed * 0.995; }}},
      {67, {"WHEEL SPEED FR", "km/h", 1, [](const EngineState& s) { return s.speed * 1.005; }}},
      {68,
       {"WHEEL SPEED RL", "km/h", 1, [](const EngineState& s) { return s.speed * (1.0 + 0.04 * s.throttle / 100); }}},
      {69,
       {"WHEEL SPEED RR", "km/h", 1, [](const EngineState& s) { return s.speed * (1.0 + 0.05 * s.throttle / 100); }}},
      {70, {"GEAR", "", 0, [](const EngineState& s) { return static_cast<double>(s.gear); }}},
      {71, {"LAP NUMBER", "", 0, [](const EngineState& s) { return static_cast<double>(s.lap + 1); }}},
      {72, {"FAN DUTY", "%", 0, Fan}},
      {73,
       {"IGN ADVANCE", "deg", 1,
        [](const EngineState& s) { return 12.0 + 20.0 * (1.0 - s.throttle / 100) + 8.0 * s.rpm / 10000; }}},
      {74, {"INJ DUTY", "%", 1, [](const EngineState& s) { return 15.0 + 70.0 * s.throttle / 100; }}},
      {75, {"CAM INLET", "deg", 1, [](const EngineState& s) { return 20.0 + 15.0 * Wave(s.seconds, 3.7); }}},
      {76, {"CAM EXHAUST", "deg", 1, [](const EngineState& s) { return 25.0 + 10.0 * Wave(s.seconds, 4.1); }}},
      {77, {"KNOCK LEVEL", "", 1, [](const EngineState& s) { return 2.75 + 0.75 * Wave(s.seconds, 1.3); }}},
      {78, {"IDLE VALVE", "%", 1, [](const EngineState& s) { return 30.0 - 25.0 * s.throttle / 100; }}},
      {79, {"ENGINE LOAD", "%", 0, [](const EngineState& s) { return 20.0 + 0.8 * s.throttle; }}},
      {80, {"INJ TIME", "ms", 2, [](const EngineState& s) { return 2.0 + 12.0 * s.throttle / 100; }}},
      {81, {"DWELL TIME", "ms", 2, [](const EngineState& s) { return 2.8 + 0.4 * Wave(s.seconds, 6.0); }}},
      {82, {"ALT CURRENT", "A", 1, [](const EngineState& s) { return 25.0 + 10.0 * Wave(s.seconds, 13.0); }}},
      {83, {"DRIVESHAFT SPD", "rpm", 0, [](const EngineState& s) { return s.speed * 9.5; }}},
      {84, {"FAN SPEED", "Hz", 1, [](const EngineState& s) { return Fan(s) * 1.5; }}},
      {85, {"FUEL FLOW", "l/h", 1, [](const EngineState& s) { return 10.0 + 90.0 * s.throttle / 100; }}},
      {86, {"TURBO SPEED", "krpm", 1, [](const EngineState& s) { return 20.0 + s.manifold; }}},
      {94, {"ERROR CODE", "", 0, [](const EngineState& s) { return std::fmod(s.seconds, 600.0) < 30.0 ? 12.0 : 0.0; }}},
      {95, {"STATUS FLAGS", "", 0, [](const EngineState& s) { return std::fmod(s.seconds, 2.0) < 1.0 ? 33.0 : 35.0; }}},
      {96, {"LAMBDA AIM", "", 2, [](const EngineState&) { return 0.88; }}},
      {97, {"FUEL CORR", "%", 2, [](const EngineState& s) { return 100.0 + 3.0 * Wave(s.seconds, 9.0); }}},
      {98, {"LAMBDA TRIM", "%", 2, [](const EngineState& s) { return 4.0 * Wave(s.seconds, 5.5); }}},
      {99, {"EXHAUST PRESS", "bar", 2, [](const EngineState& s) { return 1.0 + 1.5 * s.throttle / 100; }}},
      {100, {"ACCEL LONG", "g", 2, [](const EngineState& s) { return s.longAccel; }}},

      {192, {"LAT ACCEL", "g", 2, [](const EngineState& s) { return s.latAccel; }}},
      {193, {"LONG ACCEL", "g", 2, [](const EngineState& s) { return s.longAccel; }}},
      {194, {"YAW RATE", "deg/s", 1, [](const EngineState& s) { return 25.0 * Wave(s.seconds, 7.3); }}},
      {195, {"GPS SPEED", "km/h", 1, [](const EngineState& s) { return s.speed * 0.998; }}},
      {196, {"GPS HEADING", "deg", 1, [](const EngineState& s) { return std::fmod(s.lapSeconds * 4.0, 360.0); }}},
      {197, {"FUEL USED", "l", 2, FuelUsed}},
      {198, {"POWER", "kW", 1, [](const EngineState& s) { return s.rpm * (180.0 + 1.2 * s.throttle) / 9549.0; }}},
      {199, {"TORQUE", "Nm", 1, [](const EngineState& s) { return 180.0 + 1.2 * s.throttle; }}},
      {200, {"LAP DIST", "m", 0, [](const EngineState& s) { return s.lapSeconds / kLapSeconds * kLapMetres; }}},

      {224, {"ROLL ANGLE", "deg", 2, [](const EngineState& s) { return 2.5 * s.latAccel; }}},
      {225, {"PITCH ANGLE", "deg", 2, [](const EngineState& s) { return 1.2 * s.longAccel; }}},
      {226, {"RIDE HEIGHT F", "mm", 1, [](const EngineState& s) { return 35.0 + 5.0 * Wave(s.seconds, 0.8); }}},
      {227, {"RIDE HEIGHT R", "mm", 1, [](const EngineState& s) { return 55.0 + 6.0 * Wave(s.seconds, 0.9); }}},

      {256, {"LAP DELTA", "ms", 0, [](const EngineState& s) { return 1500.0 * Wave(s.seconds, 45.0); }}},
      {257,
       {"STEER RATE", "deg/s", 0,
        [](const EngineState& s) { return 95.0 * 2.0 * kPi / 7.3 * std::cos(2.0 * kPi * s.seconds / 7.3); }}},
      {258, {"YAW ERROR", "", 0, [](const EngineState& s) { return 40.0 * Wave(s.seconds, 5.3); }}},
      {259, {"LAP TIME", "ms", 0, [](const EngineState& s) { return s.lapSeconds * 1000.0; }}},
      {260, {"LAP DISTANCE", "m", 0, [](const EngineState& s) { return s.lapSeconds / kLapSeconds * kLapMetres; }}},
      {261, {"RUN TIME", "s", 0, [](const EngineState& s) { return std::floor(s.seconds); }}},
      {262, {"ENGINE REVS", "", 0, [](const EngineState& s) { return std::floor(s.seconds * 7500.0 / 60.0); }}},
      {263, {"FUEL USED ML", "ml", 0, [](const EngineState& s) { return std::floor(FuelUsed(s) * 1000.0); }}},
  };
  return known;
}

const KnownChannel* FindKnown(std::uint16_t channel) {
  const auto& known = KnownChannels();
  const auto it = known.find(channel);
  return it == known.end() ? nullptr : &it->second;
}

const char* const kCorners[] = {"FL", "FR", "RL", "RR"};

// Thermistor table shared by every temperature input: counts ascending, degrees falling.
constexpr std::array<std::uint16_t, 10> kThermistorCounts = {300, 450, 650, 950, 1350, 1850, 2400, 2950, 3400, 3750};
constexpr std::array<float, 10> kThermistorDegrees = {150, 130, 110, 90, 70, 50, 30, 10, -10, -30};

ChannelCalibration Linear(std::uint16_t type, float b, float c) {
  ChannelCalibration r;
  r.type = type;
  r.b = b;
  r.c = c;
  return r;
}

ChannelCalibration Quadratic(float a, float b, float c) {
  ChannelCalibration r;
  r.type = CAL_QUADRATIC;
  r.a = a;
  r.b = b;
  r.c = c;
  return r;
}

Cal CalOf(int channel) {
  const KnownChannel* known = FindKnown(static_cast<std::uint16_t>(channel));
  return known ? known->cal : Cal::kVolts;
}

}  // namespace

EngineState EngineStateAt(double t) {
  static constexpr std::array<double, 6> kRatios = {115, 82, 64, 53, 45, 39};  // rpm per km/h
  EngineState s;
  s.seconds = t;
  const double drive = Drive(t);
  const double lagging = Drive(t - 1.5);
  s.throttle = 100.0 * drive;
  s.speed = 70.0 + 160.0 * lagging;
  s.gear = std::clamp(1 + static_cast<int>(s.speed / 40.0), 1, 6);
  s.rpm = 900.0 + s.speed * kRatios[static_cast<std::size_t>(s.gear - 1)];
  s.waterTemp = 86.0 + 4.0 * Wave(t, 300.0) + 3.0 * lagging;
  s.oilTemp = 104.0 + 6.0 * Wave(t, 420.0, 1.0) + 4.0 * drive;
  s.oilPressure = 1.2 + s.rpm / 2600.0 + 0.1 * Wave(t, 1.7);
  s.fuelPressure = 3.8 + 0.15 * Wave(t, 5.0);
  s.battery = 13.8 + 0.2 * Wave(t, 17.0) - 0.15 * drive;
  s.manifold = 35.0 + 65.0 * drive;
  const double braking = std::max(0.0, (0.35 - drive) / 0.35);
  s.brakeFront = 120.0 * braking;
  s.brakeRear = 0.6 * s.brakeFront;
  s.steering = 95.0 * Wave(t, 7.3);
  s.lambda = 0.88 + 0.05 * Wave(t, 4.3);
  s.latAccel = s.speed / 100.0 * 0.9 * Wave(t, 7.3);
  s.longAccel = 1.5 * (drive - lagging);
  s.fuelLevel = 12.0 + 45.0 * (1.0 - std::fmod(t, 5400.0) / 5400.0);
  s.lapSeconds = std::fmod(t, kLapSeconds);
  s.lap = static_cast<int>(t / kLapSeconds);
  return s;
}

SampleChannel SampleChannelInfo(std::uint16_t channel) {
  if (const KnownChannel* known = FindKnown(channel)) return {known->name, known->units, known->decimals};
  const std::string n = std::to_string(channel);
  if (channel < 64) return {"ANALOG " + n, "V", 3};
  if (channel < 112) return {"FREQ " + n, "Hz", channel <= 93 ? std::int16_t{1} : std::int16_t{2}};
  if (channel < 128) {
    SampleChannel source = SampleChannelInfo(SampleSourceWord(channel));
    source.name = "DASH " + source.name;
    return source;
  }
  if (channel < 136) return {"EGT CYL " + std::to_string(channel - 127), "C", 0};
  if (channel < 140) return {std::string("BRAKE TEMP ") + kCorners[channel - 136], "C", 0};
  if (channel < 144) return {std::string("TYRE TEMP ") + kCorners[channel - 140], "C", 1};
  if (channel < 192) return {"AUX " + n, "V", 3};
  if (channel < 224) return {"MATH " + n, "", 2};
  if (channel < 256) return {"SCALED " + n, "", 2};
  if (channel < 288) return {"COUNTER " + n, "", 0};
  return {"DIGITAL IN " + std::to_string(channel - 287), "", 0};
}

double SampleValue(std::uint16_t channel, const EngineState& s) {
  if (channel >= 112 && channel <= 127) return SampleValue(SampleSourceWord(channel), s);
  if (const KnownChannel* known = FindKnown(channel)) return known->value(s);
  const double t = s.seconds;
  const double ch = channel;
  const double own = static_cast<double>(channel % 13);  // period and phase of each input
  if (channel < 64) return 2.5 + 1.8 * Wave(t, 4.0 + own, ch);
  if (channel < 112) return 50.0 + 20.0 * (1.0 + Wave(t, 3.0 + own, ch));
  if (channel < 136) return 620.0 + 2.6 * s.throttle + 15.0 * Wave(t, 2.0 + 0.3 * (ch - 127), ch);
  if (channel < 140) return 300.0 + 150.0 * std::max(0.0, Wave(t, 40.0, ch)) + s.brakeFront;
  if (channel < 144) return 85.0 + 10.0 * Wave(t, 60.0 + 7.0 * (ch - 140), ch);
  if (channel < 192) return 2.5 + 2.0 * Wave(t, 5.0 + own, ch);
  if (channel < 224) return 100.0 * Wave(t, 6.0 + own, ch);
  if (channel < 256) return 50.0 * Wave(t, 8.0 + own, ch);
  if (channel < 279) return std::round(20000.0 * Wave(t, 10.0 + own, ch));
  if (channel < 288) return std::floor(t * (ch - 278.0));
  const double half = 2.0 + static_cast<double>(channel % 5);
  if (channel < kSampleChannelCount) return std::fmod(t + ch, 2.0 * half) < half ? 1.0 : 0.0;
  return std::floor(t * (1.0 + static_cast<double>(channel % 9)));
}

ChannelCalibration SampleCalibrationRecord(int channel) {
  if (channel < 0 || channel >= kCalibratedChannels) std::abort();
  switch (CalOf(channel)) {
    case Cal::kThermistor: {
      ChannelCalibration r;
      r.type = CAL_INTERPOLATE;
      r.lastPoint = static_cast<std::uint16_t>(kThermistorCounts.size() - 1);
      std::copy(kThermistorCounts.begin(), kThermistorCounts.end(), r.x.begin());
      std::copy(kThermistorDegrees.begin(), kThermistorDegrees.end(), r.y.begin());
      return r;
    }
    case Cal::kPressure10: return Linear(CAL_LINEAR, 10.0f / 3276.0f, -1.25f);
    case Cal::kPressure200: return Linear(CAL_LINEAR, 200.0f / 3276.0f, -25.0f);
    case Cal::kPedal: return Linear(CAL_LINEAR, 100.0f / 3300.0f, -400.0f * 100.0f / 3300.0f);
    case Cal::kBattery: return Linear(CAL_LINEAR, 20.0f / 4095.0f, 0.0f);
    case Cal::kManifold: return Quadratic(2e-6f, 0.015f, 10.0f);
    case Cal::kSteering: return Linear(CAL_LINEAR, 0.1f, -204.8f);
    case Cal::kGear: {
      ChannelCalibration r;
      r.type = CAL_STEP;
      r.lastPoint = 6;
      for (std::size_t g = 0; g <= 6; ++g) {
        r.x[g] = static_cast<std::uint16_t>(500 * g);
        r.y[g] = static_cast<float>(g);
      }
      return r;
    }
    case Cal::kLambda: return Linear(CAL_LINEAR_ALT, 1.0f / 4095.0f, 0.5f);
    case Cal::kSuspension: return Linear(CAL_LINEAR, 100.0f / 4095.0f, 0.0f);
    case Cal::kFuelLevel: return Quadratic(1e-6f, 0.01f, 0.0f);
    case Cal::kVolts: break;
  }
  return Linear(CAL_LINEAR, 5.0f / 4095.0f, 0.0f);
}

GainOffset SampleGainOffset(int channel) {
  if (channel >= 128 && channel < 136) return {0.25f, 0.0f};
  if (channel >= 136 && channel < 140) return {0.5f, -50.0f};
  if (channel >= 140 && channel < 144) return {0.1f, 0.0f};
  if (channel >= 144 && channel < 192) return {0.001f, 0.0f};
  if (channel == 224 || channel == 225) return {0.01f, -327.68f};
  if (channel == 226 || channel == 227) return {0.01f, 0.0f};
  if (channel >= 228 && channel < 256) return {0.01f, -100.0f};
  std::abort();
}

std::uint16_t SampleSourceWord(int channel) {
  static constexpr std::array<std::uint16_t, 16> kSources = {0, 1, 4, 5, 6, 7, 64, 65, 70, 9, 10, 12, 2, 8, 11, 13};
  if (channel < 112 || channel > 127) std::abort();
  return kSources[static_cast<std::size_t>(channel - 112)];
}

std::uint8_t SampleScaleFlag(std::size_t k) {
  // Engine speed and the driveshaft count whole revolutions; the wheel speeds are in tenths
  // of km/h and the fan speed in tenths of Hz.
  static constexpr std::array<std::uint8_t, 8> kFlags = {0x00, 0x02, 0x02, 0x02, 0x02, 0x02, 0x00, 0x08};
  if (k >= kFlags.size()) std::abort();
  return kFlags[k];
}

}  // namespace lcu::sim
