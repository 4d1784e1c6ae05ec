#pragma once
#include <stdint.h>

// Colour arithmetic of the 3D renderer and the colour swatches, on 16-bit channels
// (ColourTriple order R, G, B). HSV triples are H, S, V: H on 0..65535 for 0..360
// degrees (65535 = undefined hue, a grey), S and V on 0..65535.

const uint16_t kHueUndefined = 65535;

// Sun angles in degrees (90, 150, 0); fixed.
extern float sunAngles[3];
// Cosines of the sun angles, set by UpdateSunDirection; used unnormalised.
extern float sunDirection[3];
// Brightness factor of the shading, 1.2 at start; the lighting dialog sets it.
extern float shadeBrightness;

void UpdateSunDirection();

// Shades the value of a colour by a face normal against the sun direction. The
// intensity and the saturation are not used or changed. Without noBrightness the
// result keeps at least 60 % of the input; it never exceeds the input. A normal of
// length 0 or with a component that is not a number leaves the value unchanged.
void ShadeColourByNormal(float intensity, float nx, float ny, float nz,
                         uint32_t* saturation, uint32_t* value, uint8_t noBrightness);

void RgbToHsv(const uint16_t* rgb, uint16_t* hsv);
void HsvToRgb(const uint16_t* hsv, uint16_t* rgb);

uint16_t MinChannel(const uint16_t* rgb);
uint16_t MaxChannel(const uint16_t* rgb);

// All three channels := 0.3 R + 0.59 G + 0.11 B, truncated.
void RgbToGrey(const uint16_t* rgb, uint16_t* grey);
