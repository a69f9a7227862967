<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>DamageBoundary</name>
    <message>
        <source>防火边界</source>
        <translation>Fire boundary</translation>
    </message>
    <message>
        <source>防烟边界</source>
        <translation>Smoke boundary</translation>
    </message>
    <message>
        <source>未定义边界</source>
        <translation>Undefined boundary</translation>
    </message>
</context>
<context>
    <name>DeckView</name>
    <message>
        <source>NA</source>
        <translation>NA</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>&lt;red&gt;甲板文件 %1 不存在&lt;/red&gt;</source>
        <translation>&lt;red&gt;Deck file %1 does not exist&lt;/red&gt;</translation>
    </message>
    <message>
        <source>&lt;red&gt;渲染甲板 %1 错误&lt;/red&gt;</source>
        <translation>&lt;red&gt;Error rendering deck %1&lt;/red&gt;</translation>
    </message>
    <message>
        <source>配置文件%1不存在</source>
        <translation>Configuration file %1 does not exist</translation>
    </message>
    <message>
        <source>创建LUA环境错误</source>
        <translation>Error creating the Lua environment</translation>
    </message>
    <message>
        <source>LUA运行错误</source>
        <translation>Lua runtime error</translation>
    </message>
    <message>
        <source>LUA预编译语法错误</source>
        <translation>Lua syntax error during compilation</translation>
    </message>
    <message>
        <source>LUA内存请求错误</source>
        <translation>Lua memory allocation error</translation>
    </message>
    <message>
        <source>LUA内存回收扩展处理错误</source>
        <translation>Lua error in a garbage-collection metamethod</translation>
    </message>
    <message>
        <source>LUA消息处理句柄运行错误</source>
        <translation>Lua error in the message handler</translation>
    </message>
    <message>
        <source>LUA未知错误</source>
        <translation>Unknown Lua error</translation>
    </message>
    <message>
        <source>加载配置文件%1错误。%2详细信息:%3%2%4</source>
        <translation>Error loading configuration file %1.%2Details: %3%2%4</translation>
    </message>
    <message>
        <source>解析配置文件%1错误。%2详细信息:%3%2%4</source>
        <translation>Error running configuration file %1.%2Details: %3%2%4</translation>
    </message>
    <message>
        <source>配置文件%1中%2的值%3超出范围%4至%5</source>
        <translation>In configuration file %1, the value %3 of %2 is outside the range %4 to %5</translation>
    </message>
</context>
<context>
    <name>harq::DamageResponse</name>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
</context>
<context>
    <name>harq::Direction</name>
    <message>
        <source>上部</source>
        <translation>Above</translation>
    </message>
    <message>
        <source>下部</source>
        <translation>Below</translation>
    </message>
    <message>
        <source>左部</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右部</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>前部</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>后部</source>
        <translation>Rear</translation>
    </message>
    <message>
        <source>中心</source>
        <translation>Centre</translation>
    </message>
</context>
<context>
    <name>harq::Region</name>
    <message>
        <source>NA</source>
        <translation>NA</translation>
    </message>
    <message>
        <source>%1[%2]</source>
        <translation>%1[%2]</translation>
    </message>
</context>
<context>
    <name>harq::Sensor</name>
    <message>
        <source>NA</source>
        <translation>NA</translation>
    </message>
    <message>
        <source>%1[%2]</source>
        <translation>%1[%2]</translation>
    </message>
</context>
<context>
    <name>harq::SensorItem</name>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>超低低限</source>
        <translation>Below low-low limit</translation>
    </message>
    <message>
        <source>超低限</source>
        <translation>Below low limit</translation>
    </message>
    <message>
        <source>超高高限</source>
        <translation>Above high-high limit</translation>
    </message>
    <message>
        <source>超高限</source>
        <translation>Above high limit</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>Normal</translation>
    </message>
</context>
<context>
    <name>harq::ValueTransform</name>
    <message>
        <source>(%1 %2) </source>
        <translation>(%1 %2) </translation>
    </message>
</context>
</TS>
