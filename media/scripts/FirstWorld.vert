#version 120
// The moss world's surfaces lit as the fixed pipeline lit them: the vertex
// colour is their ambient and diffuse colour, two lights (directional or
// not, unattenuated), a Blinn highlight seen from the camera, and the
// scene's haze (exponential squared, as the scene loader sets it) by
// distance along the view. All of it is worked out here, once per vertex,
// so that a pixel costs one multiply-add of its texel, or untextured
// nothing but the colour handed on: a software renderer pays for every
// pixel. PLAIN: no texture. MEAN: the texture is one texel, its mean
// colour, read here instead of for every pixel.

uniform mat4 worldViewProj;
uniform mat4 world;
uniform mat4 worldView;
uniform mat4 normalMatrix;   // inverse transpose of world
uniform mat4 texMatrix;
uniform vec4 cameraPosition; // world space
uniform vec4 ambient;        // the scene's
uniform vec4 lightPosition[2];  // world space; w = 0 for a directional light
uniform vec4 lightDiffuse[2];
uniform vec4 lightSpecular[2];
uniform vec4 specular;       // the surface's
uniform float shininess;
uniform vec4 emissive;
uniform vec4 fogParams;      // x: density
uniform vec4 fogColour;
#ifdef MEAN
uniform sampler2D meanTexture;
#endif

#if !defined(PLAIN) && !defined(MEAN)
#define TEXTURED
varying vec2 uv;
varying vec3 lit;   // what the texel is multiplied by, haze included
varying vec3 haze;  // highlight and haze, added after the texel
#else
varying vec3 colour;  // the whole of it
#endif

void main() {
    gl_Position = worldViewProj * gl_Vertex;
    vec3 position = (world * gl_Vertex).xyz;
    vec3 normal = normalize(mat3(normalMatrix) * gl_Normal);
    vec3 toCamera = normalize(cameraPosition.xyz - position);
    vec3 diffuse = ambient.rgb;
    vec3 highlight = vec3(0.0);
    for (int i = 0; i < 2; ++i) {
        vec3 toLight = normalize(lightPosition[i].xyz - position * lightPosition[i].w);
        float facing = dot(normal, toLight);
        if (facing > 0.0) {
            diffuse += lightDiffuse[i].rgb * facing;
            if (shininess > 0.0)
                highlight += lightSpecular[i].rgb *
                             pow(max(dot(normal, normalize(toLight + toCamera)), 0.0), shininess);
        }
    }
    vec3 surface = clamp(gl_Color.rgb * diffuse + emissive.rgb, 0.0, 1.0);
#ifdef MEAN
    surface *= texture2DLod(meanTexture, vec2(0.5), 0.0).rgb;
#endif
    float depth = abs((worldView * gl_Vertex).z);
    float thickness = fogParams.x * depth;
    float clear = clamp(exp(-thickness * thickness), 0.0, 1.0);
    vec3 added = clamp(specular.rgb * highlight, 0.0, 1.0) * clear + fogColour.rgb * (1.0 - clear);
#ifdef TEXTURED
    lit = surface * clear;
    haze = added;
    uv = (texMatrix * gl_MultiTexCoord0).xy;
#else
    colour = surface * clear + added;
#endif
}
