// Matrix helpers in Direct3D's convention: row vectors, left-handed coordinates.
#include <cmath>

#include "platform/d3d9/D3DX9.h"

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& other) const
{
    D3DXMATRIX r;
    D3DXMatrixMultiply(&r, this, &other);
    return r;
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out)
{
    *out = D3DXMATRIX{};
    for (int i = 0; i < 4; ++i) {
        out->m[i][i] = 1.0f;
    }
    return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b)
{
    D3DXMATRIX r{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a->m[i][k] * b->m[k][j];
            }
            r.m[i][j] = sum;
        }
    }
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z)
{
    D3DXMatrixIdentity(out);
    out->m[3][0] = x;
    out->m[3][1] = y;
    out->m[3][2] = z;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->m[1][1] = c;
    out->m[1][2] = s;
    out->m[2][1] = -s;
    out->m[2][2] = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->m[0][0] = c;
    out->m[0][2] = -s;
    out->m[2][0] = s;
    out->m[2][2] = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->m[0][0] = c;
    out->m[0][1] = s;
    out->m[1][0] = -s;
    out->m[1][1] = c;
    return out;
}

// Roll about z first, then pitch about x, then yaw about y.
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll)
{
    D3DXMATRIX z, x, y;
    D3DXMatrixRotationZ(&z, roll);
    D3DXMatrixRotationX(&x, pitch);
    D3DXMatrixRotationY(&y, yaw);
    *out = z * x * y;
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar)
{
    float yScale = 1.0f / std::tan(fovY / 2.0f);
    float xScale = yScale / aspect;
    *out = D3DXMATRIX{};
    out->m[0][0] = xScale;
    out->m[1][1] = yScale;
    out->m[2][2] = zFar / (zFar - zNear);
    out->m[2][3] = 1.0f;
    out->m[3][2] = -zNear * zFar / (zFar - zNear);
    return out;
}

namespace {

D3DVECTOR Normalised(D3DVECTOR v)
{
    float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0f) {
        return v;
    }
    return D3DVECTOR{v.x / length, v.y / length, v.z / length};
}

D3DVECTOR Cross(D3DVECTOR a, D3DVECTOR b)
{
    return D3DVECTOR{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(D3DVECTOR a, D3DVECTOR b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up)
{
    D3DVECTOR zAxis = Normalised(D3DVECTOR{at->x - eye->x, at->y - eye->y, at->z - eye->z});
    D3DVECTOR xAxis = Normalised(Cross(*up, zAxis));
    D3DVECTOR yAxis = Cross(zAxis, xAxis);
    D3DXMatrixIdentity(out);
    out->m[0][0] = xAxis.x;
    out->m[1][0] = xAxis.y;
    out->m[2][0] = xAxis.z;
    out->m[0][1] = yAxis.x;
    out->m[1][1] = yAxis.y;
    out->m[2][1] = yAxis.z;
    out->m[0][2] = zAxis.x;
    out->m[1][2] = zAxis.y;
    out->m[2][2] = zAxis.z;
    out->m[3][0] = -Dot(xAxis, *eye);
    out->m[3][1] = -Dot(yAxis, *eye);
    out->m[3][2] = -Dot(zAxis, *eye);
    return out;
}
