#include "model/colour_maths.h"
#include <math.h>

float sunAngles[3] = {90.0f, 150.0f, 0.0f};
float sunDirection[3] = {0.0f, 0.0f, 0.0f};
float shadeBrightness = 1.2f;

void UpdateSunDirection()
{
    for (int i = 0; i < 3; ++i)
        sunDirection[i] = (float)cos(sunAngles[i] * 0.017453292519943295);
}

uint16_t MinChannel(const uint16_t* rgb)
{
    if (!rgb)
        return 0;
    uint16_t least = rgb[0] < rgb[1] ? rgb[0] : rgb[1];
    if (rgb[2] < least)
        least = rgb[2];
    return least;
}

uint16_t MaxChannel(const uint16_t* rgb)
{
    if (!rgb)
        return 0;
    uint16_t most = rgb[0] > rgb[1] ? rgb[0] : rgb[1];
    if (rgb[2] > most)
        most = rgb[2];
    return most;
}

void RgbToHsv(const uint16_t* rgb, uint16_t* hsv)
{
    if (!rgb || !hsv)
        return;
    uint16_t most = MaxChannel(rgb);
    uint16_t least = MinChannel(rgb);
    unsigned delta = (unsigned)most - least;
    hsv[2] = most;
    uint16_t saturation = 0;
    if (most != 0)
        saturation = (uint16_t)((double)delta / (double)most * 65535.0 + 0.5);
    hsv[1] = saturation;
    if (saturation == 0) {
        hsv[0] = kHueUndefined;
        return;
    }
    float rc = (float)(most - rgb[0]) / (float)delta;
    float gc = (float)(most - rgb[1]) / (float)delta;
    float bc = (float)(most - rgb[2]) / (float)delta;
    float h;
    if (rgb[0] == most)
        h = bc - gc;
    else if (rgb[1] == most)
        h = 2.0f + rc - bc;
    else
        h = 4.0f + gc - rc;
    h = h * 60.0f;
    if (h < 0.0f)
        h += 360.0f;
    hsv[0] = (uint16_t)(h * 182.04166666666666 + 0.5);
}

static uint16_t ChannelFromUnit(float unit)
{
    double channel = unit * 65535.0 + 0.5;
    if (channel < 0.0)
        channel = 0.0;
    if (channel > 65535.0)
        channel = 65535.0;
    return (uint16_t)channel;
}

void HsvToRgb(const uint16_t* hsv, uint16_t* rgb)
{
    if (!hsv || !rgb)
        return;
    uint16_t value = hsv[2];
    if (hsv[1] == 0) {
        rgb[0] = rgb[1] = rgb[2] = value;
        return;
    }
    // The hue comes back quantised to whole degrees; the undefined hue reads as 0.
    int degrees = (int)(hsv[0] * 0.005493247882810712 + 0.5);
    if (degrees == 360)
        degrees = 0;
    float x = (float)(degrees / 60.0);
    int sector = (int)x;
    float f = x - (float)sector;
    float s = (float)(hsv[1] / 65535.0);
    float v = (float)(value / 65535.0);
    uint16_t p = ChannelFromUnit(v * (1.0f - s));
    uint16_t q = ChannelFromUnit(v * (1.0f - s * f));
    uint16_t t = ChannelFromUnit(v * (1.0f - s * (1.0f - f)));
    switch (sector) {
    case 0: rgb[0] = value; rgb[1] = t; rgb[2] = p; break;
    case 1: rgb[0] = q; rgb[1] = value; rgb[2] = p; break;
    case 2: rgb[0] = p; rgb[1] = value; rgb[2] = t; break;
    case 3: rgb[0] = p; rgb[1] = q; rgb[2] = value; break;
    case 4: rgb[0] = t; rgb[1] = p; rgb[2] = value; break;
    default: rgb[0] = value; rgb[1] = p; rgb[2] = q; break;
    }
}

// Float to u32 without undefined behaviour: saturates, NaN gives 0.
static uint32_t ToUint32(double v)
{
    if (!(v > 0.0))
        return 0;
    return v < 4294967295.0 ? (uint32_t)v : 0xFFFFFFFFu;
}

void ShadeColourByNormal(float intensity, float nx, float ny, float nz,
                         uint32_t* saturation, uint32_t* value, uint8_t noBrightness)
{
    (void)intensity;
    (void)saturation;
    if (!value)
        return;
    uint32_t v = *value;
    float length = (float)sqrt((double)(nx * nx + ny * ny + nz * nz));
    // A normal without a direction (zero, or not a number) gives no shading: the colour
    // stays as it is rather than a NaN being turned into an integer.
    if (!(length > 0.0f) || !isfinite(length))
        return;
    float termX = nx / length * sunDirection[0];
    float termY = ny / length * sunDirection[1];
    float termZ = nz / length * sunDirection[2];
    float d = fabsf(termX + termY + termZ);
    uint32_t shaded = ToUint32(v * d + 0.5f);
    uint32_t floorValue = ToUint32(v * 0.6 + 0.5);
    if (!noBrightness) {
        if (shaded < floorValue)
            shaded = floorValue;
        shaded = ToUint32(shaded * (double)shadeBrightness);
        if (shaded < floorValue)
            shaded = floorValue;
    }
    *value = shaded < v ? shaded : v;
}

void RgbToGrey(const uint16_t* rgb, uint16_t* grey)
{
    if (!rgb || !grey)
        return;
    double level = 0.3 * rgb[0] + 0.59 * rgb[1] + 0.11 * rgb[2];
    if (level > 65535.0)
        level = 65535.0;
    uint16_t g = (uint16_t)level;
    grey[0] = grey[1] = grey[2] = g;
}
