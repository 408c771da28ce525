#include <QApplication>
#include <cstdlib>

#include "shell/trivenor_app.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  trivenor::ConfigureApplication(application);
  trivenor::CTrivenorApp trivenor;
  if (!trivenor.InitInstance(QCoreApplication::arguments())) {
    return trivenor.exitCode();
  }
  return application.exec();
}
