// The application object: owns the modeless windows that may outlive the
// call that made them, and destroys them when the module unloads.
#pragma once

#include <memory>
#include <vector>

namespace rf::fw {

class Form;

class Application {
 public:
  static Application& Instance();
  // Takes ownership of a modeless form.
  Form* Adopt(std::unique_ptr<Form> form);
  // Frees a form later, once the handler that asked for it has returned.
  void ReleaseLater(Form* form);
  // Destroys every owned form.
  void DestroyAll();
  // Module unload: destroys the forms and the framework's own windows and
  // unregisters its window classes.
  void Shutdown();
  std::size_t Count() const { return forms_.size(); }

 private:
  void ReleasePending();
  std::vector<std::unique_ptr<Form>> forms_;
  friend struct ReleaseMessageWindow;
};

}  // namespace rf::fw
