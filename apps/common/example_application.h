#pragma once

#include <QCoreApplication>

#include <memory>

/// The application object of the example programs.
namespace exampleapp {

/// A QApplication, or a QCoreApplication when the command line asks for the
/// help: the help shows no window, so it is answered without a window system
/// and works without a display. \a argc must outlive the object, as for Qt.
std::unique_ptr<QCoreApplication> create(int& argc, char** argv);

} // namespace exampleapp
