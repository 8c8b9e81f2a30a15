// Stand-in content of the Preferences and Guide windows until the configuration views are wired
// in: it shows the settings as they are and says where to change them meanwhile.
#pragma once

#include "model/LaunchAtLogin.h"
#include "model/Preferences.h"

class QWidget;

namespace orvane::app {

QWidget* makePlaceholderPreferences(QWidget* parent, model::ObservablePreferences& preferences,
                                    model::LaunchAtLoginObservable& launchAtLogin);
QWidget* makePlaceholderGuide(QWidget* parent);

} // namespace orvane::app
