#pragma once
// What the power actions of a button or of the editor ask of the system.
namespace corvid {

class PowerActions {
 public:
  virtual ~PowerActions() = default;
  virtual void Suspend() = 0;
  virtual void Hibernate() = 0;
  virtual void ShutDown() = 0;
  virtual void Reboot() = 0;
};

}  // namespace corvid
