#include "render/DrawScene.h"

#include "mesh/SceneStore.h"
#include "render/GL.h"
#include "render/TextureBinding.h"

namespace tovmar {

void DrawScene(const ViewCamera& camera, int width, int height, SceneStore& store) {
  // Without height the aspect ratio is not finite: nothing meaningful can be drawn.
  if (width <= 0 || height <= 0) return;

  const std::array<double, 16> rotation = RotationMatrix(camera.shown);

  // Background and depth test.
  glClearColor(0.25f, 0.25f, 0.25f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);

  // Perspective camera on +X looking at the origin with +Z up.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfViewY, static_cast<double>(width) / static_cast<double>(height),
                 kNearPlane, kFarPlane);
  gluLookAt(camera.distance, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0);
  glViewport(0, 0, width, height);

  // Light 0, positioned while the model-view matrix is the identity: in model coordinates.
  static const GLfloat kAmbient[4] = {0.3f, 0.3f, 0.3f, 0.3f};
  static const GLfloat kDiffuse[4] = {0.7f, 0.7f, 0.7f, 0.7f};
  static const GLfloat kSpecular[4] = {0.01f, 0.01f, 0.01f, 0.01f};
  glEnable(GL_LIGHTING);
  glLightfv(GL_LIGHT0, GL_AMBIENT, kAmbient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, kDiffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, kSpecular);
  glEnable(GL_LIGHT0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLightfv(GL_LIGHT0, GL_POSITION, camera.light.data());

  // Pan and orientation live on the projection matrix, so the light turns with the model.
  glTranslated(camera.pan.x, camera.pan.y, camera.pan.z);
  glMultMatrixd(rotation.data());

  // Every mesh object, as triangles with its texture enabled, white under the light.
  for (std::size_t i = 0; i < store.MeshCount(); ++i) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    MeshObject* m = store.GetMesh(i);
    if (m->drawStyle != 1) continue;
    m->flags = (m->flags & ~MeshObject::kPrimitiveModeMask) | kViewPrimitiveMode;
    m->flags &= ~MeshObject::kTextureDisabled;
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 1.0f, 1.0f);
    m->Draw(store);
  }
  if (ContextTextures* kept = store.CurrentContextTextures()) DeleteUnusedTextures(*kept, store);

  glDisable(GL_LIGHTING);
}

}  // namespace tovmar
