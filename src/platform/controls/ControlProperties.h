#pragma once

// The properties every control answers by name: its tooltip, a tag for its owner's use (the
// class declares `QString m_tag`), its type name (the class defines TypeName()), and whether it
// is enabled and visible, which the host's security pass sets.
#define BRYX_CONTROL_PROPERTIES                                                                              \
    Q_PROPERTY(QString ToolTipText READ toolTip WRITE setToolTip)                                            \
    Q_PROPERTY(QString Tag MEMBER m_tag)                                                                     \
    Q_PROPERTY(QString TypeName READ TypeName CONSTANT)                                                      \
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)                                                 \
    Q_PROPERTY(bool Visible READ isVisible WRITE setVisible)
