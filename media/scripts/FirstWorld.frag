#version 120
// See FirstWorld.vert: the pixel's share of the work.
#if !defined(PLAIN) && !defined(MEAN)
uniform sampler2D surfaceTexture;
varying vec2 uv;
#endif
varying vec3 lit;
varying vec3 haze;

void main() {
#if !defined(PLAIN) && !defined(MEAN)
    gl_FragColor = vec4(texture2D(surfaceTexture, uv).rgb * lit + haze, 1.0);
#else
    gl_FragColor = vec4(lit + haze, 1.0);
#endif
}
