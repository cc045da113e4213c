#version 120
// See FirstWorld.vert: the pixel's share of the work.
#if !defined(PLAIN) && !defined(MEAN)
uniform sampler2D surfaceTexture;
varying vec2 uv;
varying vec3 lit;
varying vec3 haze;

void main() {
    gl_FragColor = vec4(texture2D(surfaceTexture, uv).rgb * lit + haze, 1.0);
}
#else
varying vec3 colour;

void main() {
    gl_FragColor = vec4(colour, 1.0);
}
#endif
