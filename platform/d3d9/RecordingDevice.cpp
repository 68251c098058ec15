#include "platform/d3d9/RecordingDevice.h"

#include <cstdint>
#include <cstring>

namespace {

double Ptr(const void* p)
{
    return static_cast<double>(reinterpret_cast<std::uintptr_t>(p));
}

}  // namespace

RecordingDevice* RecordingDevice::Create(IDirect3D9* owner, HWND window, D3DPRESENT_PARAMETERS* parameters)
{
    auto* device = new RecordingDevice(owner, window);
    if (!device->Start(parameters)) {
        device->Release();
        return nullptr;
    }
    return device;
}

RecordingDevice* RecordingDevice::From(IDirect3DDevice9* device)
{
    return dynamic_cast<RecordingDevice*>(device);
}

std::vector<RecordedCall> RecordingDevice::Named(const std::string& name) const
{
    std::vector<RecordedCall> found;
    for (const auto& call : calls) {
        if (call.name == name) {
            found.push_back(call);
        }
    }
    return found;
}

std::vector<RecordedVertex> RecordingDevice::Vertices(const RecordedCall& call)
{
    std::vector<RecordedVertex> out;
    if (call.stride < sizeof(RecordedVertex)) {
        return out;
    }
    for (std::size_t offset = 0; offset + sizeof(RecordedVertex) <= call.vertices.size(); offset += call.stride) {
        RecordedVertex v;
        std::memcpy(&v, call.vertices.data() + offset, sizeof v);
        out.push_back(v);
    }
    return out;
}

HRESULT RecordingDevice::Note(const char* name, std::vector<double> args, HRESULT result)
{
    calls.push_back(RecordedCall{name, std::move(args), {}, 0});
    return result;
}

HRESULT RecordingDevice::TestCooperativeLevel()
{
    return Note("TestCooperativeLevel", {}, DeviceBase::TestCooperativeLevel());
}

HRESULT RecordingDevice::Reset(D3DPRESENT_PARAMETERS* parameters)
{
    HRESULT result = DeviceBase::Reset(parameters);
    return Note("Reset", {parameters ? static_cast<double>(parameters->Windowed) : -1.0}, result);
}

HRESULT RecordingDevice::Present(const RECT* source, const RECT* dest, HWND destWindow, const void* dirtyRegion)
{
    return Note("Present", {Ptr(source), Ptr(dest), Ptr(destWindow), Ptr(dirtyRegion)},
                DeviceBase::Present(source, dest, destWindow, dirtyRegion));
}

HRESULT RecordingDevice::BeginScene()
{
    return Note("BeginScene", {}, DeviceBase::BeginScene());
}

HRESULT RecordingDevice::EndScene()
{
    return Note("EndScene", {}, DeviceBase::EndScene());
}

HRESULT RecordingDevice::Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil)
{
    return Note("Clear", {double(count), Ptr(rects), double(flags), double(colour), z, double(stencil)},
                DeviceBase::Clear(count, rects, flags, colour, z, stencil));
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix)
{
    std::vector<double> args{double(state)};
    if (matrix) {
        for (auto& row : matrix->m) {
            args.insert(args.end(), std::begin(row), std::end(row));
        }
    }
    return Note("SetTransform", std::move(args), DeviceBase::SetTransform(state, matrix));
}

HRESULT RecordingDevice::SetViewport(const D3DVIEWPORT9* v)
{
    std::vector<double> args;
    if (v) {
        args = {double(v->X), double(v->Y), double(v->Width), double(v->Height), v->MinZ, v->MaxZ};
    }
    return Note("SetViewport", std::move(args), DeviceBase::SetViewport(v));
}

HRESULT RecordingDevice::SetMaterial(const D3DMATERIAL9* m)
{
    std::vector<double> args;
    if (m) {
        for (const auto& c : {m->Diffuse, m->Ambient, m->Specular, m->Emissive}) {
            args.insert(args.end(), {c.r, c.g, c.b, c.a});
        }
        args.push_back(m->Power);
    }
    return Note("SetMaterial", std::move(args), DeviceBase::SetMaterial(m));
}

HRESULT RecordingDevice::SetLight(DWORD index, const D3DLIGHT9* l)
{
    std::vector<double> args{double(index)};
    if (l) {
        args.insert(args.end(), {double(l->Type), l->Direction.x, l->Direction.y, l->Direction.z, l->Diffuse.r,
                                 l->Diffuse.g, l->Diffuse.b, l->Diffuse.a, l->Ambient.r, l->Ambient.g, l->Ambient.b,
                                 l->Ambient.a});
    }
    return Note("SetLight", std::move(args), DeviceBase::SetLight(index, l));
}

HRESULT RecordingDevice::LightEnable(DWORD index, BOOL enable)
{
    return Note("LightEnable", {double(index), double(enable)}, DeviceBase::LightEnable(index, enable));
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    return Note("SetRenderState", {double(state), double(value)}, DeviceBase::SetRenderState(state, value));
}

HRESULT RecordingDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture)
{
    return Note("SetTexture", {double(stage), Ptr(texture)}, DeviceBase::SetTexture(stage, texture));
}

HRESULT RecordingDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    return Note("SetTextureStageState", {double(stage), double(type), double(value)},
                DeviceBase::SetTextureStageState(stage, type, value));
}

HRESULT RecordingDevice::SetFVF(DWORD fvf)
{
    return Note("SetFVF", {double(fvf)}, DeviceBase::SetFVF(fvf));
}

HRESULT RecordingDevice::SetVertexShader(IDirect3DVertexShader9* shader)
{
    return Note("SetVertexShader", {Ptr(shader)}, DeviceBase::SetVertexShader(shader));
}

HRESULT RecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride)
{
    HRESULT result = DeviceBase::DrawPrimitiveUP(type, primitiveCount, vertices, stride);
    RecordedCall call{"DrawPrimitiveUP", {double(type), double(primitiveCount), double(stride)}, {}, stride};
    if (vertices && type == D3DPT_TRIANGLELIST) {
        auto* bytes = static_cast<const BYTE*>(vertices);
        call.vertices.assign(bytes, bytes + static_cast<std::size_t>(primitiveCount) * 3 * stride);
    }
    calls.push_back(std::move(call));
    return result;
}

HRESULT RecordingDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount,
                                                UINT primitiveCount, const void* indices, D3DFORMAT indexFormat,
                                                const void* vertices, UINT stride)
{
    HRESULT result = DeviceBase::DrawIndexedPrimitiveUP(type, minIndex, vertexCount, primitiveCount, indices,
                                                        indexFormat, vertices, stride);
    RecordedCall call{"DrawIndexedPrimitiveUP",
                      {double(type), double(minIndex), double(vertexCount), double(primitiveCount),
                       double(indexFormat), double(stride)},
                      {},
                      stride};
    if (vertices) {
        auto* bytes = static_cast<const BYTE*>(vertices);
        call.vertices.assign(bytes, bytes + static_cast<std::size_t>(vertexCount) * stride);
    }
    calls.push_back(std::move(call));
    return result;
}

HRESULT RecordingDevice::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                   D3DMULTISAMPLE_TYPE multiSample, DWORD quality, BOOL discard,
                                                   IDirect3DSurface9** surface, HANDLE* shared)
{
    HRESULT result =
        DeviceBase::CreateDepthStencilSurface(width, height, format, multiSample, quality, discard, surface, shared);
    return Note("CreateDepthStencilSurface",
                {double(width), double(height), double(format), double(multiSample), double(quality), double(discard)},
                result);
}

HRESULT RecordingDevice::SetDepthStencilSurface(IDirect3DSurface9* surface)
{
    return Note("SetDepthStencilSurface", {Ptr(surface)}, DeviceBase::SetDepthStencilSurface(surface));
}
